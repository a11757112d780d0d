#include "usage_map_encoder.h"

#include "jet/error.h"

namespace jet::detail {
namespace {

constexpr std::size_t kBitsOffset = 5;

void setBit(std::vector<std::uint8_t>& row, std::uint32_t page) {
    row[kBitsOffset + page / 8] |= static_cast<std::uint8_t>(1u << (page % 8));
}

} // namespace

std::vector<std::uint8_t> encodeInlineUsageMap(const std::vector<std::uint32_t>& pages) {
    std::vector<std::uint8_t> row(kJet4InlineMapRowSize, 0); // type 0, starting at page 0
    for (std::uint32_t page : pages) {
        if (page >= kJet4InlineMapBytes * 8)
            throw Error(ErrorKind::Invalid, "page " + std::to_string(page) +
                                                " is beyond the reach of an inline usage map");
        setBit(row, page);
    }
    return row;
}

std::vector<std::uint8_t> encodeFreePageMap(std::uint32_t pageCount) {
    std::vector<std::uint8_t> row(kJet4InlineMapRowSize, 0);
    for (std::uint32_t page = pageCount; page < kJet4InlineMapBytes * 8; ++page)
        setBit(row, page);
    return row;
}

} // namespace jet::detail
