#include "write/tdef_encoder.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "file/format.h"
#include "read/table_def.h"
#include "write/text_encoder.h"

namespace jet::detail {
namespace {

// Constants Access writes into every table and index definition.
constexpr std::uint32_t kTableMagic = 0x659;
constexpr std::uint32_t kIndexMagic = 0x783;

void writeName(ByteWriter& w, const std::string& name) {
    std::vector<std::uint8_t> ucs2 = encodeUcs2(name);
    w.u16(static_cast<std::uint16_t>(ucs2.size()));
    w.append(ucs2);
}

// Decimal columns (only in the template tables of Access 2010 files) as Access declares them.
constexpr std::uint8_t kDecimalPrecision = 18;

void writeColumn(ByteWriter& w, const ColumnLayout& c, std::uint8_t sortVersion) {
    w.u8(static_cast<std::uint8_t>(c.type));
    w.u32(kTableMagic);
    w.u16(c.number);
    w.u16(c.varIndex);
    w.u16(c.number);
    if (c.type == ColumnType::Numeric) {
        w.u8(kDecimalPrecision);
        w.zeros(3); // scale 0
    } else {
        w.u16(kGeneralSortCode); // the sort order of text, declared by every column
        w.u8(0);
        w.u8(sortVersion);
    }
    w.u8(c.flags);
    w.u8(c.extFlags);
    w.u32(0);
    w.u16(c.fixed ? c.fixedOffset : 0);
    w.u16(c.length);
}

void writeRealIndex(ByteWriter& w, const IndexLayout& idx) {
    w.u32(kIndexMagic);
    for (std::size_t i = 0; i < kIndexColumnSlots; ++i) {
        if (i < idx.columns.size()) {
            w.u16(idx.columns[i]);
            w.u8(idx.descending ? 0x00 : 0x01);
        } else {
            w.u16(kNoColumn);
            w.u8(0);
        }
    }
    w.u32(idx.usageMap);
    w.u32(idx.rootPage);
    w.u32(0);
    w.u8(idx.flags);
    w.zeros(5);
}

void writeLogicalIndex(ByteWriter& w, const IndexLayout& idx, std::uint32_t number) {
    w.u32(kTableMagic);
    w.u32(number); // index number
    w.u32(idx.physical);
    w.u8(0);           // related table type
    w.u32(0xffffffff); // related index: none
    w.u32(0);          // related table page
    w.u8(0);           // cascade updates
    w.u8(0);           // cascade deletes
    w.u8(idx.primaryKey ? kLogicalIndexPrimaryKey : 0);
    w.u32(0);
}

} // namespace

std::vector<std::uint8_t> encodeTableDefinition(const TableLayout& table) {
    ByteWriter w;
    w.u8(static_cast<std::uint8_t>(PageType::TableDefinition));
    w.u8(0x01);
    w.u16(0); // free space, filled in below
    w.u32(0); // no continuation page

    w.u32(0); // definition length, filled in below
    w.u32(kTableMagic);
    w.u32(table.rowCount);
    w.u32(table.lastAutoNumber);
    w.u8(0x01); // lets Access hand out autonumbers
    w.zeros(15);
    w.u8(table.system ? kSystemTableType : kUserTableType);
    auto columnCount = static_cast<std::uint16_t>(table.columns.size());
    auto indexCount = static_cast<std::uint32_t>(table.indexes.size());
    // The physical indexes, each laid out by the first named index it serves.
    std::vector<const IndexLayout*> physical;
    for (const auto& idx : table.indexes)
        if (idx.physical == physical.size())
            physical.push_back(&idx);
    w.u16(columnCount); // the most columns a row has
    w.u16(table.variableCount());
    w.u16(columnCount);
    w.u32(indexCount); // logical indexes
    w.u32(static_cast<std::uint32_t>(physical.size()));
    w.u32(table.ownedPages);
    w.u32(table.freePages);

    for (const IndexLayout* idx : physical) {
        w.u32(0);
        w.u32(idx->entryCount);
        w.u32(0);
    }
    for (const auto& c : table.columns)
        writeColumn(w, c, table.sortVersion);
    for (const auto& c : table.columns)
        writeName(w, c.name);
    for (const IndexLayout* idx : physical)
        writeRealIndex(w, *idx);
    for (std::uint32_t i = 0; i < indexCount; ++i)
        writeLogicalIndex(w, table.indexes[i], i);
    for (const auto& idx : table.indexes)
        writeName(w, idx.name);
    for (const auto& lv : table.longValueMaps) {
        w.u16(lv.column);
        w.u32(lv.owned);
        w.u32(lv.free);
    }
    w.u16(kNoColumn);

    std::vector<std::uint8_t> page = w.take();
    const std::size_t pageSize = JetFormat::jet4().pageSize;
    if (page.size() + 8 > pageSize)
        throw Error(ErrorKind::Invalid,
                    "the definition of " + named("table", table.name) + " does not fit one page");
    putLe32(page, 8, static_cast<std::uint32_t>(page.size()));
    putLe16(page, kPageFreeSpaceOffset, static_cast<std::uint16_t>(pageSize - page.size() - 8));
    page.resize(pageSize, 0);
    return page;
}

} // namespace jet::detail
