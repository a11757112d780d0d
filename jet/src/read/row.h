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

// Reusable buffers, so a walk over many rows does not allocate per row.
struct RowScratch {
    std::vector<std::uint16_t> varOffsets;
};

// Fills `fields` (one per column of `def`, in definition order). `page` names errors.
void crackRow(const JetFormat& format, const TableDef& def, ByteSpan row, std::uint32_t page,
              RowScratch& scratch, std::vector<FieldRef>& fields);

} // namespace jet::detail
