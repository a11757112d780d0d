#include "read/usage_map.h"

#include "file/errors.h"
#include "file/format.h"

namespace jet::detail {

namespace {

void collectBits(const PageStore& pages, ByteSpan bitmap, std::uint64_t firstPage,
                 const std::string& owner, std::vector<std::uint32_t>& out) {
    for (std::uint64_t page : setUsageBits(bitmap, firstPage)) {
        if (page >= pages.pageCount())
            throwCorrupt("the usage map of " + owner + " lists page " + std::to_string(page) +
                         " past the end of the file");
        out.push_back(static_cast<std::uint32_t>(page));
    }
}

} // namespace

UsageMapRecord parseUsageMap(ByteSpan record, const std::string& owner) {
    if (record.empty())
        throwCorrupt("the usage map of " + owner + " is empty");
    UsageMapRecord out;
    out.type = record[0];
    switch (out.type) {
    case kInlineUsageMap:
        if (record.size() < kInlineMapHeaderSize)
            throwCorrupt("the usage map of " + owner + " is too short");
        out.firstPage = le32(record.data() + 1);
        out.bits = record.subspan(kInlineMapHeaderSize);
        return out;
    case kReferenceUsageMap:
        for (std::size_t at = 1; at + 4 <= record.size(); at += 4)
            out.mapPages.push_back(le32(record.data() + at));
        return out;
    default:
        throwCorrupt("the usage map of " + owner + " has unknown type " +
                     std::to_string(record[0]));
    }
}

std::vector<std::uint64_t> setUsageBits(ByteSpan bits, std::uint64_t first) {
    std::vector<std::uint64_t> out;
    for (std::size_t byte = 0; byte < bits.size(); ++byte) {
        if (bits[byte] == 0)
            continue;
        for (std::size_t bit = byte * 8; bit < byte * 8 + 8; ++bit)
            if (usageBit(bits, bit))
                out.push_back(first + bit);
    }
    return out;
}

std::vector<std::uint32_t> readUsageMap(const PageStore& pages, ByteSpan record,
                                        const std::string& owner) {
    const UsageMapRecord map = parseUsageMap(record, owner);
    std::vector<std::uint32_t> out;
    if (map.type == kInlineUsageMap) {
        collectBits(pages, map.bits, map.firstPage, owner, out);
        return out;
    }
    const std::uint64_t pagesPerMap = pagesPerMapPage(pages.pageSize());
    for (std::size_t i = 0; i < map.mapPages.size(); ++i) {
        if (map.mapPages[i] == 0)
            continue;
        ByteSpan page = pages.pageOfType(
            map.mapPages[i], static_cast<std::uint8_t>(PageType::UsageMap), "a usage map page");
        collectBits(pages, page.subspan(kMapPageHeaderSize), i * pagesPerMap, owner, out);
    }
    return out;
}

} // namespace jet::detail
