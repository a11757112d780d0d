#include "read/row.h"

#include "file/errors.h"

namespace jet::detail {

void RowFrame::bad(const std::string& what) const {
    throwCorruptPage(page_, "a row of " + named("table", def_->name) + " " + what);
}

void RowFrame::read(const JetFormat& format, const TableDef& def, ByteSpan row,
                    std::uint32_t page) {
    def_ = &def;
    row_ = row;
    page_ = page;
    varCount_ = 0;
    jet4Offsets_ = nullptr;
    jet3Offsets_.clear();
    // Every row starts with its column count and ends with its null mask, one bit a column.
    const std::size_t countSize = format.rowCountSize;
    if (row.size() < countSize)
        bad("is too short");
    columnCount_ = countSize == 1 ? row[0] : le16(row.data());
    fixedStart_ = countSize;
    maskSize_ = (columnCount_ + 7) / 8;
    if (row.size() < countSize + maskSize_)
        bad("is too short for its null mask");
    nullMask_ = row.data() + row.size() - maskSize_;
    dataEnd_ = static_cast<std::size_t>(nullMask_ - row.data());
    if (def.varColumnCount == 0)
        return;
    if (format.rowHasJumpTable)
        readJet3();
    else
        readJet4();
    dataEnd_ = varOffset(varCount_);
    if (dataEnd_ > row.size())
        bad("ends its data past its own end");
}

void RowFrame::readJet4() {
    const std::size_t size = row_.size();
    if (size < 2 + maskSize_ + 2)
        bad("is too short for its variable column count");
    varCount_ = le16(row_.data() + size - maskSize_ - 2);
    if ((varCount_ + 1) * 2 + maskSize_ + 4 > size)
        bad("has more variable columns than fit in it");
    jet4Offsets_ = row_.data() + size - maskSize_ - 4;
}

void RowFrame::readJet3() {
    const long size = static_cast<long>(row_.size());
    const auto maskSize = static_cast<long>(maskSize_);
    const long last = size - 1;
    if (last - maskSize < 1)
        bad("is too short for its variable column count");
    varCount_ = row_[last - maskSize];
    // Offsets are single bytes; the jump table lists where each next 256 bytes begin.
    long jumps = (size - 1) / 256;
    const long table = last - maskSize - jumps - 1;
    if (table < 0 || table < static_cast<long>(varCount_))
        bad("has more variable columns than fit in it");
    if ((table - static_cast<long>(varCount_)) / 256 < jumps)
        --jumps; // the last jump entry is a filler
    jet3Offsets_.resize(varCount_ + 1);
    long used = 0;
    for (long i = 0; i <= static_cast<long>(varCount_); ++i) {
        while (used < jumps && row_[last - maskSize - used - 1] == i)
            ++used;
        jet3Offsets_[i] = static_cast<std::uint16_t>(row_[table - i] + used * 256);
    }
}

FieldRef RowFrame::field(std::size_t index) const {
    const Column& column = def_->columns[index];
    if (column.number >= columnCount_)
        return {}; // the row predates the column
    const bool bit = (nullMask_[column.number / 8] >> (column.number % 8)) & 1;
    // A calculated boolean keeps its value in the row's data, as other calculated values do.
    if (column.type == ColumnType::Boolean && !column.calculated)
        return FieldRef{bit, {}};
    if (!bit)
        return {};
    const ColumnPlacement& layout = def_->placements[index];
    if (column.fixedLength) {
        std::size_t size = column.calculated ? 0 : fixedSizeOf(column.type);
        if (size == 0)
            size = column.length;
        const std::size_t start = fixedStart_ + layout.fixedOffset;
        if (!fits(dataEnd_, start, size))
            bad("is too short for " + named("column", column.name));
        return FieldRef{true, row_.subspan(start, size)};
    }
    if (layout.varIndex >= varCount_)
        return {}; // the row predates the column
    const std::size_t start = varOffset(layout.varIndex);
    const std::size_t end = varOffset(layout.varIndex + 1u);
    if (start < fixedStart_ || start > end || end > dataEnd_)
        bad("has bad bounds " + std::to_string(start) + ".." + std::to_string(end) + " for " +
            named("column", column.name));
    return FieldRef{true, row_.subspan(start, end - start)};
}

void crackRow(const JetFormat& format, const TableDef& def, ByteSpan row, std::uint32_t page,
              RowFrame& frame, std::vector<FieldRef>& fields) {
    frame.read(format, def, row, page);
    fields.resize(def.columns.size());
    for (std::size_t i = 0; i < def.columns.size(); ++i)
        fields[i] = frame.field(i);
}

} // namespace jet::detail
