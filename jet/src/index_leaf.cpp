#include "index_leaf.h"

#include "byte_writer.h"
#include "jet/error.h"

namespace jet::detail {
namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kEntryMaskOffset = 27;
constexpr std::size_t kFirstEntryOffset = 480; // the entry mask covers the bytes in between

} // namespace

std::vector<std::uint8_t>
buildIndexLeafPage(std::uint32_t tablePage, const std::vector<std::vector<std::uint8_t>>& entries) {
    std::vector<std::uint8_t> page(kPageSize, 0);
    page[0] = 0x04;
    page[1] = 0x01;
    putLe32(page, 4, tablePage);
    // Previous, next and tail leaf pages stay 0: a single leaf is the whole index.

    std::size_t at = 0;
    for (const auto& entry : entries) {
        if (kFirstEntryOffset + at + entry.size() > kPageSize)
            throw Error(ErrorKind::Invalid, "index entries do not fit one leaf page");
        std::copy(entry.begin(), entry.end(), page.begin() + kFirstEntryOffset + at);
        at += entry.size();
        // The mask marks where each entry ends (and so where the next one starts).
        page[kEntryMaskOffset + at / 8] |= static_cast<std::uint8_t>(1u << (at % 8));
    }
    putLe16(page, 2, static_cast<std::uint16_t>(kPageSize - kFirstEntryOffset - at));
    return page;
}

} // namespace jet::detail
