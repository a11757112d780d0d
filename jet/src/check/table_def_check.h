// Checking a table definition's fields against each other and against the table's rows: every
// field that decides where a value is read from (column types, numbers, fixed offsets, variable
// slots, lengths, flags, index column references, long-value map columns). A changed byte in a
// definition otherwise reads other bytes of every row as the column, and no single row looks
// wrong.
#pragma once

#include "file/format.h"
#include "read/row.h"
#include "read/table_def.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace jet::detail {

using FaultSink = std::function<void(std::string)>;

// The definition alone: each fault through `fault`, naming `table` and the column or index;
// the indexes' fields only `withIndexes`.
void checkTableDefFields(const JetFormat& format, const TableDef& def, bool withIndexes,
                         const std::string& table, const FaultSink& fault);

// The rows against the definition, one row at a time; each kind of fault is told once a table,
// with the first page it was seen on.
class RowLayoutCheck {
public:
    RowLayoutCheck(const TableDef& def, std::string table, FaultSink fault);
    // `frame` holds the row read from `page`; `fields` its fields, as crackRow gives them.
    void row(const RowFrame& frame, const std::vector<FieldRef>& fields, std::uint32_t page);

private:
    void once(std::size_t kind, std::uint32_t page, const std::string& what);

    const TableDef& def_;
    std::string table_;
    FaultSink fault_;
    std::vector<bool> told_;
};

} // namespace jet::detail
