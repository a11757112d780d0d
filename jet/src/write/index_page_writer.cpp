#include "write/index_page_writer.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "read/index_pages_read.h"

#include <algorithm>

namespace jet::detail {
namespace {

constexpr std::size_t kUnknownHeaderBytes = 8; // kept as they are: Access's own bookkeeping

// The entries written out as entries: all but a node's last when it has several.
std::size_t writtenEntries(std::size_t count, bool leaf) {
    return !leaf && count > 1 ? count - 1 : count;
}

std::size_t keySize(const IndexEntryBytes& entry, bool leaf) {
    const std::size_t pointers = kIndexRowPointerSize + (leaf ? 0 : kIndexChildPointerSize);
    return entry.size() >= pointers ? entry.size() - pointers : 0;
}

// The key bytes every entry of the page starts with: the first and last entries' common start
// (entries are in order), never reaching into the row pointers.
std::size_t sharedPrefix(std::span<const IndexEntryBytes> entries, bool leaf) {
    const std::size_t count = writtenEntries(entries.size(), leaf);
    if (count < 2)
        return 0;
    const IndexEntryBytes& first = entries.front();
    const IndexEntryBytes& last = entries[count - 1];
    const std::size_t limit = std::min(keySize(first, leaf), keySize(last, leaf));
    std::size_t n = 0;
    while (n < limit && first[n] == last[n])
        ++n;
    return n;
}

} // namespace

IndexEntryBytes leafEntry(IndexEntryBytes key, std::uint32_t rowPage, std::uint8_t rowSlot) {
    appendBigEndian(key, rowPage, 3);
    key.push_back(rowSlot);
    return key;
}

std::size_t indexPageCapacity(const JetFormat& format) {
    return std::min(format.pageSize - format.indexFirstEntryOffset, format.indexEntryMaskBits());
}

std::size_t indexEntriesUsage(std::span<const IndexEntryBytes> entries, bool leaf) {
    const std::size_t prefix = sharedPrefix(entries, leaf);
    std::size_t total = prefix;
    for (std::size_t i = 0; i < writtenEntries(entries.size(), leaf); ++i)
        total += entries[i].size() - prefix;
    return total;
}

std::size_t indexPageUsage(const IndexPageContents& contents) {
    return indexEntriesUsage(contents.entries, contents.leaf);
}

void writeIndexPage(const JetFormat& format, std::span<std::uint8_t> page,
                    const IndexPageContents& contents, std::uint32_t tablePage) {
    const IndexPageLayout& layout = IndexPageLayout::of(format);
    const std::size_t used = indexPageUsage(contents);
    if (used > indexPageCapacity(format))
        throwCorrupt("an index page of table page " + std::to_string(tablePage) +
                     " was given more entries than it holds");
    std::fill(page.begin(), page.begin() + 4, std::uint8_t{0});
    std::fill(page.begin() + static_cast<long>(kUnknownHeaderBytes), page.end(), std::uint8_t{0});
    page[0] = static_cast<std::uint8_t>(contents.leaf ? PageType::IndexLeaf : PageType::IndexNode);
    page[1] = 0x01;
    putLe32(page, kPageOwnerOffset, tablePage);
    putLe32(page, layout.previousPage, contents.previous);
    putLe32(page, layout.nextPage, contents.next);
    const std::size_t written = writtenEntries(contents.entries.size(), contents.leaf);
    if (written < contents.entries.size())
        putLe32(page, layout.tailPage, childPageOf(contents.entries.back()));
    const std::size_t prefix = sharedPrefix(contents.entries, contents.leaf);
    if (layout.prefixLengthSize == 1)
        page[layout.prefixLength] = static_cast<std::uint8_t>(prefix);
    else
        putLe16(page, layout.prefixLength, static_cast<std::uint16_t>(prefix));
    std::size_t end = 0;
    std::uint8_t* out = page.data() + format.indexFirstEntryOffset;
    for (std::size_t i = 0; i < written; ++i) {
        const IndexEntryBytes& entry = contents.entries[i];
        const std::size_t skip = i == 0 ? 0 : prefix;
        std::copy(entry.begin() + static_cast<long>(skip), entry.end(), out + end);
        end += entry.size() - skip;
        page[format.indexEntryMaskOffset + end / 8] |= static_cast<std::uint8_t>(1u << (end % 8));
    }
    putLe16(page, kPageFreeSpaceOffset,
            static_cast<std::uint16_t>(format.pageSize - format.indexFirstEntryOffset - end));
}

} // namespace jet::detail
