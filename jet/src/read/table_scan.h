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

// Data pages of the table, ascending.
std::vector<std::uint32_t> tableDataPages(const PageStore& pages, const JetFormat& format,
                                          const TableDef& def);

class TableScan {
public:
    TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def);

    // Counts the rows a walk visits, checking each one's slot (not its fields).
    std::uint64_t countRows() const;

    void rewind();
    // Moves to the next live row; false at the end.
    bool next();
    ByteSpan row() const { return row_; }
    std::uint32_t rowPage() const { return rowPage_; }

private:
    // The live row in one slot of `bytes` (page `page`), following a move; false when the slot
    // holds none.
    bool resolve(ByteSpan bytes, std::uint32_t page, std::uint16_t slot, ByteSpan& row,
                 std::uint32_t& rowPage) const;

    const PageStore& pages_;
    const JetFormat& format_;
    const TableDef& def_;
    std::vector<std::uint32_t> dataPages_;
    std::size_t pageIndex_ = 0;
    std::uint32_t slot_ = 0;
    std::uint16_t slotsOnPage_ = 0;
    ByteSpan pageBytes_; // of the page the walk stands on
    ByteSpan row_;
    std::uint32_t rowPage_ = 0;
};

} // namespace jet::detail
