#include "write/index_leaf.h"

#include "file/byte_writer.h"
#include "file/format.h"
#include "jet/error.h"

namespace jet::detail {

std::vector<std::uint8_t>
buildIndexLeafPage(std::uint32_t tablePage, const std::vector<std::vector<std::uint8_t>>& entries) {
    const JetFormat& format = JetFormat::jet4();
    const std::size_t pageSize = format.pageSize;
    const std::size_t entryMask = format.indexEntryMaskOffset;
    const std::size_t firstEntry = format.indexFirstEntryOffset;
    std::vector<std::uint8_t> page(pageSize, 0);
    page[0] = static_cast<std::uint8_t>(PageType::IndexLeaf);
    page[1] = 0x01;
    putLe32(page, kPageOwnerOffset, tablePage);
    // Previous, next and tail leaf pages stay 0: a single leaf is the whole index.

    std::size_t at = 0;
    for (const auto& entry : entries) {
        if (firstEntry + at + entry.size() > pageSize)
            throw Error(ErrorKind::Invalid, "index entries do not fit one leaf page");
        std::copy(entry.begin(), entry.end(), page.begin() + firstEntry + at);
        at += entry.size();
        // The mask marks where each entry ends (and so where the next one starts).
        page[entryMask + at / 8] |= static_cast<std::uint8_t>(1u << (at % 8));
    }
    putLe16(page, kPageFreeSpaceOffset, static_cast<std::uint16_t>(pageSize - firstEntry - at));
    return page;
}

} // namespace jet::detail
