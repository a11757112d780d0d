// Laying out one row of a Jet 4 table.
#pragma once

#include "jet/value.h"
#include "read/table_def.h"
#include "write/table_layout.h"

#include <cstdint>
#include <vector>

namespace jet::detail {

// One column's part of a row: null, or the bytes it stores (for a boolean, its value).
struct FieldData {
    bool isNull = true;
    bool boolValue = false;
    std::vector<std::uint8_t> bytes; // fixed part, or variable part (long values: their header)
};

struct RowShape {
    std::vector<ColumnLayout> columns;
    std::uint16_t maxColumns = 0;    // columns every row records, deleted ones included
    std::uint16_t variableSlots = 0; // entries of every row's offset table
    std::size_t fixedSize = 0;       // bytes of the fixed part
};

// The shape of every row of a table with these columns; `maxColumns` is what its definition
// records (a table that lost columns keeps counting them).
RowShape rowShapeOf(std::vector<ColumnLayout> columns, std::uint16_t maxColumns);
// The same for a table read from a file.
RowShape rowShapeOf(const TableDef& def);

// The stored form of a value in a column whose data sits in the row itself (everything but
// memo and OLE). Text is Jet 4 UCS-2, or bytes of `jet3CodePage` when that is given.
// ErrorKind Invalid when the value does not suit the column.
FieldData encodeInlineField(const ColumnLayout& column, const Value& value,
                            std::uint16_t jet3CodePage = 0);

// The bytes of a row: `fields` holds one entry per column of `shape`, in the same order.
// ErrorKind Invalid when the row would not fit a data page.
std::vector<std::uint8_t> encodeJet4Row(const RowShape& shape,
                                        const std::vector<FieldData>& fields);
// The same for Jet 3, whose one-byte offsets need a jump table past 255 bytes.
std::vector<std::uint8_t> encodeJet3Row(const RowShape& shape,
                                        const std::vector<FieldData>& fields);

} // namespace jet::detail
