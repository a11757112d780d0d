// Walking a table's live rows in file order: its data pages in page order (as its owned-pages
// usage map lists them), rows in slot order; deleted rows skipped, moved rows followed to where
// they now live, and the moved copies themselves skipped where they lie.
#pragma once

#include "file/bytes.h"
#include "file/format.h"
#include "file/page_source.h"
#include "read/table_def.h"

#include <cstdint>
#include <vector>

namespace jet::detail {

// Pages the table's usage map says it owns (data, long value and index pages), ascending.
std::vector<std::uint32_t> tableOwnedPages(const PageStore& pages, const JetFormat& format,
                                           const TableDef& def);

class TableScan {
public:
    TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def);
    // A walk of only these pages of the table (a part of tableOwnedPages(), in its order).
    TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def,
              std::vector<std::uint32_t> ownedPages);

    // Counts the rows a walk visits, checking each one's slot (not its fields).
    std::uint64_t countRows() const;

    // Back to before the first row; nothing is read until next().
    void rewind();
    // Moves to the next live row; false at the end.
    bool next();
    // The row next() found, valid until the walk moves on.
    ByteSpan row() const { return row_; }
    std::uint32_t rowPage() const { return rowPage_; }
    // The pages the walk has read ahead: a row's long values are often among them.
    const PageRun& readAhead() const { return run_; }

private:
    // Stands at the start of ownedPages_[index] (past the end: the walk is over).
    void enterPage(std::size_t index);
    // The bytes of ownedPages_[index], from the run of pages read ahead when it holds them.
    ByteSpan walkedPage(std::size_t index);
    // The live row in one slot of `bytes` (page `page`), following a move; false when the slot
    // holds none.
    bool resolve(ByteSpan bytes, std::uint32_t page, std::uint16_t slot, ByteSpan& row,
                 std::uint32_t& rowPage) const;

    const PageStore& pages_;
    const JetFormat& format_;
    const TableDef& def_;
    std::vector<std::uint32_t> ownedPages_; // only the data pages among them hold rows
    bool entered_ = false;                  // a walk reads nothing until its first next()
    PageRun run_;                           // the next pages of the walk, read at once
    std::size_t pageIndex_ = 0;
    std::uint32_t slot_ = 0;
    std::uint16_t slotsOnPage_ = 0;
    ByteSpan pageBytes_; // of the page the walk stands on
    ByteSpan row_;
    std::uint32_t rowPage_ = 0;
};

} // namespace jet::detail
