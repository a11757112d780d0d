// Writing one index page: its header, the prefix its entries share, the mask marking where each
// entry ends, and the entries with the prefix left out of all but the first.
#pragma once

#include "file/format.h"

#include <cstdint>
#include <span>
#include <vector>

namespace jet::detail {

using IndexEntryBytes = std::vector<std::uint8_t>;

// An index page's contents. Leaf entries are key + 4-byte row pointer; node entries add the
// 4-byte child page, one entry per child. On the page, a node with more than one child names
// its last child in the page's tail field rather than in an entry.
struct IndexPageContents {
    bool leaf = true;
    std::uint32_t previous = 0;
    std::uint32_t next = 0;
    std::vector<IndexEntryBytes> entries;
};

// A leaf entry: `key`, then the row pointer (3-byte page and row number, most significant first).
IndexEntryBytes leafEntry(IndexEntryBytes key, std::uint32_t rowPage, std::uint8_t rowSlot);

// The most entry bytes (shared prefix counted once) one page holds.
std::size_t indexPageCapacity(const JetFormat& format);

// The entry bytes `contents` takes on its page, the shared prefix counted once.
std::size_t indexPageUsage(const IndexPageContents& contents);

// The entry bytes these entries (in order) would take as the whole of a leaf or node page.
std::size_t indexEntriesUsage(std::span<const IndexEntryBytes> entries, bool leaf);

// Writes `contents` over `page`, owned by the table whose definition starts at `tablePage`.
// The caller makes sure it fits (indexPageUsage <= indexPageCapacity).
void writeIndexPage(const JetFormat& format, std::span<std::uint8_t> page,
                    const IndexPageContents& contents, std::uint32_t tablePage);

} // namespace jet::detail
