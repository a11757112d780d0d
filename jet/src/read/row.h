// Cracking a row into its fields: the null mask, the fixed part and the variable part (Jet 3
// one-byte offsets with a jump table, Jet 4 two-byte offsets).
#pragma once

#include "file/bytes.h"
#include "file/format.h"
#include "read/table_def.h"

#include <cstdint>
#include <vector>

namespace jet::detail {

// One field of a cracked row. For booleans `present` is the value itself.
struct FieldRef {
    bool present = false;
    ByteSpan bytes;
};

// Where the parts of one row lie: its column count, null mask, fixed part and variable offsets.
// Reading it checks only what every field relies on; each field is cut out, and its own bounds
// checked, when it is asked for, so a walk that reads one column pays for that column alone.
class RowFrame {
public:
    // Frames `row` of table `def`; `page` names errors (Corrupt).
    void read(const JetFormat& format, const TableDef& def, ByteSpan row, std::uint32_t page);
    // The field of column `column` (a position in def.columns); Corrupt when it lies outside the
    // row.
    FieldRef field(std::size_t column) const;

    // The frame itself, for the check to hold against the table's definition: the columns and
    // variable columns the row holds, and where its fixed part ends.
    std::size_t columnCount() const { return columnCount_; }
    std::size_t variableCount() const { return varCount_; }
    std::size_t fixedStart() const { return fixedStart_; }
    std::size_t fixedEnd() const {
        return jet4Offsets_ || !jet3Offsets_.empty() ? varOffset(0) : dataEnd_;
    }

private:
    [[noreturn]] void bad(const std::string& what) const;
    void readJet4();
    void readJet3();
    std::size_t varOffset(std::size_t entry) const {
        return jet3Offsets_.empty() ? le16(jet4Offsets_ - 2 * entry) : jet3Offsets_[entry];
    }

    const TableDef* def_ = nullptr;
    ByteSpan row_;
    std::uint32_t page_ = 0;
    std::size_t columnCount_ = 0;
    const std::uint8_t* nullMask_ = nullptr;
    std::size_t maskSize_ = 0;
    std::size_t fixedStart_ = 0;
    std::size_t varCount_ = 0; // the offsets hold varCount_ + 1 entries, the last the data end
    std::size_t dataEnd_ = 0;
    const std::uint8_t* jet4Offsets_ = nullptr; // Jet 4: the first entry; the rest run backwards
    std::vector<std::uint16_t> jet3Offsets_;    // Jet 3: decoded through the jump table
};

// Fills `fields` (one per column of `def`, in definition order), framing the row in `frame`
// (reused from row to row, so a walk does not allocate per row). `page` names errors.
void crackRow(const JetFormat& format, const TableDef& def, ByteSpan row, std::uint32_t page,
              RowFrame& frame, std::vector<FieldRef>& fields);

} // namespace jet::detail
