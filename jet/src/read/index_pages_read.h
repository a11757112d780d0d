// Reading index pages: the entries of a page (with the prefix that all of a page's entries share
// restored), the links between pages, and every leaf entry of an index in index order.
#pragma once

#include "file/bytes.h"
#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
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

// Every entry ends in the row pointer of its row; a node's entry then in its child page.
inline constexpr std::size_t kIndexRowPointerSize = 4;
inline constexpr std::size_t kIndexChildPointerSize = 4;

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

// Whether `page` is an index page (node or leaf) of the table whose definition starts at
// `tablePage`.
bool isIndexPageOf(ByteSpan page, std::uint32_t tablePage);

// Where the entries of an index page end, as its entry mask marks them: counted from the first
// entry, in page order. An end that lies past the page is listed too; callers refuse it.
std::vector<std::size_t> indexEntryEnds(const JetFormat& format, ByteSpan page);

// The child page a node's entry ends in (four bytes, most significant first).
std::uint32_t childPageOf(ByteSpan entry);

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

// Page `number` read as an index page of the table at `tablePage`. ErrorKind Corrupt naming the
// page when it lies outside the file or is not one of that table's index pages.
IndexPage readIndexPageOf(const PageStore& pages, const JetFormat& format, std::uint32_t number,
                          std::uint32_t tablePage);

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

} // namespace jet::detail
