#include "read/row.h"

#include "file/errors.h"

namespace jet::detail {

namespace {

struct RowFrame {
    std::size_t columnCount = 0;
    const std::uint8_t* nullMask = nullptr;
    std::size_t fixedStart = 0;
    std::size_t varCount = 0; // offsets hold varCount + 1 entries, the last one the data end
};

[[noreturn]] void badRow(std::uint32_t page, const TableDef& def, const std::string& what) {
    throwCorruptPage(page, "a row of table \"" + def.name + "\" " + what);
}

// What every row has: the column count at its start (`countSize` bytes) and the null mask at
// its end, one bit a column.
RowFrame frameEnds(const TableDef& def, ByteSpan row, std::uint32_t page, std::size_t countSize,
                   std::size_t& maskSize) {
    RowFrame frame;
    if (row.size() < countSize)
        badRow(page, def, "is too short");
    frame.columnCount = countSize == 1 ? row[0] : le16(row.data());
    frame.fixedStart = countSize;
    maskSize = (frame.columnCount + 7) / 8;
    if (row.size() < countSize + maskSize)
        badRow(page, def, "is too short for its null mask");
    frame.nullMask = row.data() + row.size() - maskSize;
    return frame;
}

RowFrame frameJet4(const TableDef& def, ByteSpan row, std::uint32_t page,
                   std::vector<std::uint16_t>& offsets) {
    const std::size_t size = row.size();
    std::size_t maskSize = 0;
    RowFrame frame = frameEnds(def, row, page, 2, maskSize);
    if (def.varColumnCount == 0) {
        offsets.clear();
        return frame;
    }
    if (size < 2 + maskSize + 2)
        badRow(page, def, "is too short for its variable column count");
    frame.varCount = le16(row.data() + size - maskSize - 2);
    if ((frame.varCount + 1) * 2 + maskSize + 4 > size)
        badRow(page, def, "has more variable columns than fit in it");
    offsets.resize(frame.varCount + 1);
    for (std::size_t i = 0; i <= frame.varCount; ++i)
        offsets[i] = le16(row.data() + size - maskSize - 4 - 2 * i);
    return frame;
}

RowFrame frameJet3(const TableDef& def, ByteSpan row, std::uint32_t page,
                   std::vector<std::uint16_t>& offsets) {
    const long size = static_cast<long>(row.size());
    std::size_t mask = 0;
    RowFrame frame = frameEnds(def, row, page, 1, mask);
    const auto maskSize = static_cast<long>(mask);
    if (def.varColumnCount == 0) {
        offsets.clear();
        return frame;
    }
    const long last = size - 1;
    if (last - maskSize < 1)
        badRow(page, def, "is too short for its variable column count");
    frame.varCount = row[last - maskSize];
    // Offsets are single bytes; the jump table lists where each next 256 bytes begin.
    long jumps = (size - 1) / 256;
    const long table = last - maskSize - jumps - 1;
    if (table < 0 || table < static_cast<long>(frame.varCount))
        badRow(page, def, "has more variable columns than fit in it");
    if ((table - static_cast<long>(frame.varCount)) / 256 < jumps)
        --jumps; // the last jump entry is a filler
    offsets.resize(frame.varCount + 1);
    long used = 0;
    for (long i = 0; i <= static_cast<long>(frame.varCount); ++i) {
        while (used < jumps && row[last - maskSize - used - 1] == i)
            ++used;
        offsets[i] = static_cast<std::uint16_t>(row[table - i] + used * 256);
    }
    return frame;
}

} // namespace

void crackRow(const JetFormat& format, const TableDef& def, ByteSpan row, std::uint32_t page,
              RowScratch& scratch, std::vector<FieldRef>& fields) {
    std::vector<std::uint16_t>& offsets = scratch.varOffsets;
    const RowFrame frame = format.rowHasJumpTable ? frameJet3(def, row, page, offsets)
                                                  : frameJet4(def, row, page, offsets);
    const std::size_t dataEnd = frame.varCount > 0 || !offsets.empty()
                                    ? offsets[frame.varCount]
                                    : static_cast<std::size_t>(frame.nullMask - row.data());
    if (dataEnd > row.size())
        badRow(page, def, "ends its data past its own end");

    fields.resize(def.columns.size());
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const Column& column = def.columns[i];
        const ColumnPlacement& layout = def.placements[i];
        FieldRef& field = fields[i];
        field = FieldRef{};
        if (column.number >= frame.columnCount)
            continue; // the row predates the column
        const bool bit = (frame.nullMask[column.number / 8] >> (column.number % 8)) & 1;
        if (column.type == ColumnType::Boolean) {
            field.present = bit;
            continue;
        }
        if (!bit)
            continue;
        if (column.fixedLength) {
            std::size_t size = fixedSizeOf(column.type);
            if (size == 0)
                size = column.length;
            const std::size_t start = frame.fixedStart + layout.fixedOffset;
            if (!fits(dataEnd, start, size))
                badRow(page, def, "is too short for column \"" + column.name + "\"");
            field.present = true;
            field.bytes = row.subspan(start, size);
        } else {
            if (layout.varIndex >= frame.varCount)
                continue; // the row predates the column
            const std::size_t start = offsets[layout.varIndex];
            const std::size_t end = offsets[layout.varIndex + 1];
            if (start < frame.fixedStart || start > end || end > dataEnd)
                badRow(page, def,
                       "has bad bounds " + std::to_string(start) + ".." + std::to_string(end) +
                           " for column \"" + column.name + "\"");
            field.present = true;
            field.bytes = row.subspan(start, end - start);
        }
    }
}

} // namespace jet::detail
