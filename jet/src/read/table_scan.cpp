#include "read/table_scan.h"

#include "file/errors.h"
#include "read/slot_table.h"
#include "read/usage_map.h"

namespace jet::detail {

namespace {

constexpr int kMaxMoveHops = 8;

} // namespace

std::vector<std::uint32_t> tableDataPages(const PageStore& pages, const JetFormat& format,
                                          const TableDef& def) {
    if (def.ownedPagesMap == 0)
        return {}; // a table that never held a page may have no map at all
    const std::string owner = "table \"" + def.name + "\"";
    ByteSpan map = rowAtPointer(pages, format, def.ownedPagesMap, "the usage map of " + owner);
    std::vector<std::uint32_t> owned = readUsageMap(pages, map, owner);
    std::vector<std::uint32_t> data;
    for (std::uint32_t page : owned)
        if (isDataPageOf(pages.page(page), def.page))
            data.push_back(page);
    return data;
}

TableScan::TableScan(const PageStore& pages, const JetFormat& format, const TableDef& def)
    : pages_(pages), format_(format), def_(def), dataPages_(tableDataPages(pages, format, def)) {
    rewind();
}

bool TableScan::resolve(ByteSpan bytes, std::uint32_t page, std::uint16_t slot, ByteSpan& row,
                        std::uint32_t& rowPage) const {
    RowSlot found = rowSlot(format_, bytes, page, slot);
    if (found.flags & kRowIsMoveTarget)
        return false; // deleted, or the moved copy of a row met at its original slot
    rowPage = page;
    for (int hop = 0; found.flags & kRowMoved; ++hop) {
        if (hop == kMaxMoveHops || found.bytes.size() < 4)
            throwCorruptPage(rowPage, "row " + std::to_string(slot) + " of table \"" + def_.name +
                                          "\" has a bad move pointer");
        const std::uint32_t pointer = le32(found.bytes.data());
        rowPage = rowPointerPage(pointer);
        slot = static_cast<std::uint16_t>(rowPointerRow(pointer));
        bytes = pages_.page(rowPage);
        if (!isDataPageOf(bytes, def_.page))
            throwCorruptPage(rowPage, "a moved row of table \"" + def_.name +
                                          "\" points to a page of another table");
        found = pointedRow(format_, bytes, rowPage, slot,
                           [&] { return "a moved row of table \"" + def_.name + "\""; });
    }
    row = found.bytes;
    return true;
}

std::uint64_t TableScan::countRows() const {
    std::uint64_t count = 0;
    ByteSpan row;
    std::uint32_t rowPage = 0;
    for (std::uint32_t page : dataPages_) {
        const ByteSpan bytes = pages_.page(page);
        const std::uint16_t slots = slotCount(format_, bytes, page);
        for (std::uint16_t slot = 0; slot < slots; ++slot)
            count += resolve(bytes, page, slot, row, rowPage);
    }
    return count;
}

void TableScan::rewind() {
    pageIndex_ = 0;
    slot_ = 0;
    pageBytes_ = dataPages_.empty() ? ByteSpan() : pages_.page(dataPages_[0]);
    slotsOnPage_ = dataPages_.empty() ? 0 : slotCount(format_, pageBytes_, dataPages_[0]);
    row_ = {};
}

bool TableScan::next() {
    while (pageIndex_ < dataPages_.size()) {
        while (slot_ < slotsOnPage_) {
            const auto slot = static_cast<std::uint16_t>(slot_++);
            if (resolve(pageBytes_, dataPages_[pageIndex_], slot, row_, rowPage_))
                return true;
        }
        if (++pageIndex_ < dataPages_.size()) {
            const std::uint32_t page = dataPages_[pageIndex_];
            pageBytes_ = pages_.page(page);
            slotsOnPage_ = slotCount(format_, pageBytes_, page);
            slot_ = 0;
        }
    }
    row_ = {};
    return false;
}

} // namespace jet::detail
