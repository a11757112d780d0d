// Reading index pages: the entries of a page (with the prefix that all of a page's entries share
// restored), the links between pages, and every leaf entry of an index in index order.
#pragma once

#include "file/bytes.h"
#include "file/format.h"
#include "file/page_source.h"
#include "read/table_def.h"
#include "read/text_sort_order.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jet::detail {

// Where the header fields of index pages lie (the entry mask is in JetFormat).
struct IndexPageLayout {
    std::size_t previousPage;
    std::size_t nextPage;
    std::size_t tailPage; // nodes: the last page of the level below
    std::size_t prefixLength;
    std::size_t prefixLengthSize; // Jet 3 keeps one byte, Jet 4 two
    static const IndexPageLayout& of(const JetFormat& format);
};

struct IndexPage {
    bool leaf = false;
    std::uint32_t previous = 0;
    std::uint32_t next = 0;
    std::uint32_t tail = 0;
    std::size_t prefixLength = 0;
    // Whole entries, in page order: key, then the 3-byte page and 1-byte row of the row pointer
    // (most significant first), then on nodes the 4-byte child page.
    std::vector<std::vector<std::uint8_t>> entries;
};

// An index page's entries. ErrorKind Corrupt (naming the page) when its mask runs past the page
// or the prefix is longer than the first entry.
IndexPage readIndexPage(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber);
// The same for a page that may be damaged: the entries before the damage, and in `fault` what is
// wrong (empty when nothing is).
IndexPage readIndexPage(const JetFormat& format, ByteSpan page, std::string& fault);

// The parts of a whole entry of IndexPage::entries, which must be at least as long as its row
// pointer (and on nodes its child page).
struct IndexEntryParts {
    ByteSpan key;
    std::uint32_t rowPage = 0;
    std::uint8_t rowSlot = 0;
    std::uint32_t childPage = 0; // nodes only
};
IndexEntryParts splitIndexEntry(ByteSpan entry, bool leaf);

struct LeafEntry {
    std::vector<std::uint8_t> key; // without the row pointer
    std::uint32_t rowPage = 0;
    std::uint8_t rowSlot = 0;
};

// Every leaf entry of the index whose root is `root`, in index order: down the first entries to
// the first leaf, then along the leaves. ErrorKind Corrupt on a loop or a page that is not one of
// the table's index pages.
std::vector<LeafEntry> readIndexEntries(const PageStore& pages, const JetFormat& format,
                                        std::uint32_t root, std::uint32_t tablePage);

// The text sort order a column declares (Jet 4 text and memo columns), as stored: a code and
// a version.
struct ColumnSortOrder {
    std::uint16_t code = 0;
    std::uint8_t version = 0;
    // The sort order the engine builds keys for, if it is one.
    std::optional<TextSortOrder> supported() const;
    std::string name() const;
};

// One entry per column of `def`, in definition order; all zero in Jet 3 files, which keep a
// code page there instead.
std::vector<ColumnSortOrder> readColumnSortOrders(const PageStore& pages, const JetFormat& format,
                                                  const TableDef& def);

// The flags of each index of `def` (in the order of def.indexes) as its physical index stores
// them; Jet 4 keeps four more bytes before them than Jet 3.
inline constexpr std::uint8_t kIndexFlagUnique = 0x01;
inline constexpr std::uint8_t kIndexFlagIgnoreNulls = 0x02;
inline constexpr std::uint8_t kIndexFlagRequired = 0x08;
std::vector<std::uint8_t> readIndexFlags(const PageStore& pages, const JetFormat& format,
                                         const TableDef& def);

} // namespace jet::detail
