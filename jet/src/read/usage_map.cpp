#include "read/usage_map.h"

#include "file/errors.h"
#include "file/format.h"

namespace jet::detail {

namespace {

void collectBits(const PageStore& pages, ByteSpan bitmap, std::uint64_t firstPage,
                 const std::string& owner, std::vector<std::uint32_t>& out) {
    for (std::size_t byte = 0; byte < bitmap.size(); ++byte) {
        if (bitmap[byte] == 0)
            continue;
        for (std::size_t bit = byte * 8; bit < byte * 8 + 8; ++bit) {
            if (!usageBit(bitmap, bit))
                continue;
            const std::uint64_t page = firstPage + bit;
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
        if (record.size() < kInlineMapHeaderSize)
            throwCorrupt("the usage map of " + owner + " is too short");
        collectBits(pages, record.subspan(kInlineMapHeaderSize), le32(record.data() + 1), owner,
                    out);
        break;
    }
    case kReferenceUsageMap: {
        const std::uint64_t pagesPerMap = pagesPerMapPage(pages.pageSize());
        for (std::size_t i = 0; (i + 1) * 4 + 1 <= record.size(); ++i) {
            const std::uint32_t mapPage = le32(record.data() + 1 + i * 4);
            if (mapPage == 0)
                continue;
            ByteSpan map = pages.pageOfType(mapPage, static_cast<std::uint8_t>(PageType::UsageMap),
                                            "a usage map page");
            collectBits(pages, map.subspan(kMapPageHeaderSize), i * pagesPerMap, owner, out);
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
