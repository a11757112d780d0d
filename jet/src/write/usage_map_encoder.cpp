#include "write/usage_map_encoder.h"

#include "jet/error.h"
#include "read/usage_map.h"

#include <span>

namespace jet::detail {
namespace {

// A map row of type 0 starting at page 0, no page marked.
std::vector<std::uint8_t> emptyInlineMap() {
    return std::vector<std::uint8_t>(kJet4InlineMapRowSize, 0);
}
std::span<std::uint8_t> bitsOf(std::vector<std::uint8_t>& row) {
    return std::span(row).subspan(kInlineMapHeaderSize);
}

} // namespace

std::vector<std::uint8_t> encodeInlineUsageMap(const std::vector<std::uint32_t>& pages) {
    std::vector<std::uint8_t> row = emptyInlineMap();
    for (std::uint32_t page : pages) {
        if (page >= kJet4InlineMapBytes * 8)
            throw Error(ErrorKind::Invalid, "page " + std::to_string(page) +
                                                " is beyond the reach of an inline usage map");
        setUsageBit(bitsOf(row), page, true);
    }
    return row;
}

std::vector<std::uint8_t> encodeFreePageMap(std::uint32_t pageCount) {
    std::vector<std::uint8_t> row = emptyInlineMap();
    for (std::uint32_t page = pageCount; page < kJet4InlineMapBytes * 8; ++page)
        setUsageBit(bitsOf(row), page, true);
    return row;
}

} // namespace jet::detail
