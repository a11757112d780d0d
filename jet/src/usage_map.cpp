#include "usage_map.h"

#include "errors.h"
#include "format.h"

namespace jet::detail {

namespace {

void collectBits(const PageStore& pages, ByteSpan bitmap, std::uint64_t firstPage,
                 const std::string& owner, std::vector<std::uint32_t>& out) {
    for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
        if (bitmap[byte] == 0)
            continue;
        for (int bit = 0; bit < 8; ++bit) {
            if (!(bitmap[byte] & (1u << bit)))
                continue;
            const std::uint64_t page = firstPage + byte * 8 + bit;
            if (page >= pages.pageCount())
                throwCorrupt("the usage map of " + owner + " lists page " + std::to_string(page) +
                             " past the end of the file");
            out.push_back(static_cast<std::uint32_t>(page));
        }
    }
}

} // namespace

std::vector<std::uint32_t> readUsageMap(const PageStore& pages, ByteSpan record,
                                        const std::string& owner) {
    std::vector<std::uint32_t> out;
    if (record.empty())
        throwCorrupt("the usage map of " + owner + " is empty");
    switch (record[0]) {
    case kInlineUsageMap: {
        if (record.size() < 5)
            throwCorrupt("the usage map of " + owner + " is too short");
        collectBits(pages, record.subspan(5), le32(record.data() + 1), owner, out);
        break;
    }
    case kReferenceUsageMap: {
        const std::uint64_t pagesPerMap = std::uint64_t{pages.pageSize() - 4} * 8;
        for (std::size_t i = 0; (i + 1) * 4 + 1 <= record.size(); ++i) {
            const std::uint32_t mapPage = le32(record.data() + 1 + i * 4);
            if (mapPage == 0)
                continue;
            ByteSpan map = pages.pageOfType(mapPage, static_cast<std::uint8_t>(PageType::UsageMap),
                                            "a usage map page");
            collectBits(pages, map.subspan(4), i * pagesPerMap, owner, out);
        }
        break;
    }
    default:
        throwCorrupt("the usage map of " + owner + " has unknown type " +
                     std::to_string(record[0]));
    }
    return out;
}

} // namespace jet::detail
