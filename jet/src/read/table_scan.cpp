#include "read/table_scan.h"

#include "file/errors.h"
#include "read/slot_table.h"
#include "read/usage_map.h"

#include <algorithm>

namespace jet::detail {

namespace {

constexpr int kMaxMoveHops = 8;

} // namespace

std::vector<std::uint32_t> tableOwnedPages(const PageStore& pages, const JetFormat& format,
                                           const TableDef& def) {
    if (def.ownedPagesMap == 0)
        return {}; // a table that never held a page may have no map at all
    const std::string owner = named("table", def.name);
    ByteSpan map = rowAtPointer(pages, format, def.ownedPagesMap, "the usage map of " + owner);
    return readUsageMap(pages, map, owner);
}

TableScan::TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def)
    : TableScan(pages, format, def, tableOwnedPages(pages, format, def)) {}

TableScan::TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def,
                     std::vector<std::uint32_t> ownedPages)
    : pages_(pages), format_(format), def_(def), ownedPages_(std::move(ownedPages)) {
    rewind();
}

void TableScan::enterPage(std::size_t index) {
    pageIndex_ = index;
    slot_ = 0;
    slotsOnPage_ = 0;
    pageBytes_ = {};
    if (index >= ownedPages_.size()) {
        run_ = PageRun(); // its memory goes back to the store for the next walk
        return;
    }
    // Pages of the table's long values and indexes are in its map too; only its data pages hold
    // rows.
    const std::uint32_t page = ownedPages_[index];
    pageBytes_ = walkedPage(index);
    if (isDataPageOf(pageBytes_, def_.page))
        slotsOnPage_ = slotCount(format_, pageBytes_, page);
}

ByteSpan TableScan::walkedPage(std::size_t index) {
    const std::uint32_t page = ownedPages_[index];
    if (run_.holds(page))
        return run_.page(page);
    // The next pages of the walk, when they lie close together (the table's long values or
    // another table's pages may lie between), are read at once.
    const std::size_t most = PageStore::kMaxRunBytes / pages_.pageSize();
    std::size_t last = std::min(index + most, ownedPages_.size()) - 1;
    while (ownedPages_[last] - page >= most)
        --last;
    run_ = PageRun(); // first back to the store, to be lent again at once
    if (last > index)
        run_ = pages_.readRun(page, ownedPages_[last] - page + 1);
    return run_.holds(page) ? run_.page(page) : pages_.page(page);
}

bool TableScan::resolve(ByteSpan bytes, std::uint32_t page, std::uint16_t slot, ByteSpan& row,
                        std::uint32_t& rowPage) const {
    RowSlot found = rowSlot(format_, bytes, page, slot);
    if (found.flags & kRowIsMoveTarget)
        return false; // deleted, or the moved copy of a row met at its original slot
    rowPage = page;
    for (int hop = 0; found.flags & kRowMoved; ++hop) {
        if (hop == kMaxMoveHops || found.bytes.size() < 4)
            throwCorruptPage(rowPage, "row " + std::to_string(slot) + " of " +
                                          named("table", def_.name) + " has a bad move pointer");
        const std::uint32_t pointer = le32(found.bytes.data());
        rowPage = rowPointerPage(pointer);
        slot = static_cast<std::uint16_t>(rowPointerRow(pointer));
        bytes = pages_.page(rowPage);
        if (!isDataPageOf(bytes, def_.page))
            throwCorruptPage(rowPage, "a moved row of " + named("table", def_.name) +
                                          " points to a page of another table");
        found = pointedRow(format_, bytes, rowPage, slot,
                           [&] { return "a moved row of " + named("table", def_.name); });
    }
    row = found.bytes;
    return true;
}

std::uint64_t TableScan::countRows() const {
    std::uint64_t count = 0;
    ByteSpan row;
    std::uint32_t rowPage = 0;
    for (std::uint32_t page : ownedPages_) {
        const ByteSpan bytes = pages_.page(page);
        if (!isDataPageOf(bytes, def_.page))
            continue;
        const std::uint16_t slots = slotCount(format_, bytes, page);
        for (std::uint16_t slot = 0; slot < slots; ++slot)
            count += resolve(bytes, page, slot, row, rowPage);
    }
    return count;
}

void TableScan::rewind() {
    entered_ = false;
    run_ = PageRun();
    row_ = {};
}

bool TableScan::next() {
    if (!entered_) {
        entered_ = true;
        enterPage(0);
    }
    while (pageIndex_ < ownedPages_.size()) {
        while (slot_ < slotsOnPage_) {
            const auto slot = static_cast<std::uint16_t>(slot_++);
            if (resolve(pageBytes_, ownedPages_[pageIndex_], slot, row_, rowPage_))
                return true;
        }
        enterPage(pageIndex_ + 1);
    }
    row_ = {};
    return false;
}

} // namespace jet::detail
