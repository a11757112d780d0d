#include "write/table_layout.h"

#include "file/errors.h"

namespace jet::detail {
namespace {

// Bytes a value takes in the row; 0 for variable-length types. Booleans count as fixed, though
// their value lives in the null mask.
std::uint16_t fixedLength(ColumnType type) {
    return type == ColumnType::Boolean ? 1 : static_cast<std::uint16_t>(fixedSizeOf(type));
}

void checkName(const std::string& what, const std::string& name) {
    if (name.empty() || name.size() > 64)
        throw Error(ErrorKind::Invalid,
                    named(what + " name", name) + " must be 1 to 64 characters");
}

} // namespace

std::uint16_t TableLayout::variableCount() const {
    std::uint16_t n = 0;
    for (const auto& c : columns)
        n += c.fixed ? 0 : 1;
    return n;
}

TableLayout layoutTable(const std::string& name, const std::vector<ColumnDefinition>& columns,
                        bool system) {
    checkName("table", name);
    if (columns.empty() || columns.size() > 255)
        throw Error(ErrorKind::Invalid, named("table", name) + " needs 1 to 255 columns");

    TableLayout table;
    table.name = name;
    table.system = system;
    std::uint16_t fixedOffset = 0;
    for (const auto& def : columns) {
        const ColumnSpec& spec = def.spec;
        checkName("column", spec.name);
        for (const auto& other : table.columns)
            if (other.name == spec.name)
                throw Error(ErrorKind::Invalid,
                            named("table", name) + " has two " + named("columns named", spec.name));
        if (spec.type == ColumnType::Numeric && !def.flags)
            throw Error(ErrorKind::Invalid,
                        "creating decimal columns is not supported: " + named("column", spec.name));
        if (spec.autoNumber && spec.type != ColumnType::Long)
            throw Error(ErrorKind::Invalid,
                        named("autonumber column", spec.name) + " must be a long");

        ColumnLayout col;
        col.name = spec.name;
        col.type = spec.type;
        col.number = static_cast<std::uint16_t>(table.columns.size());
        // Access declares the decimal template column variable.
        col.fixed = fixedLength(spec.type) != 0 && spec.type != ColumnType::Numeric;
        if (col.fixed) {
            col.length = fixedLength(spec.type);
            // Booleans live in the null mask and take no room in the fixed part.
            col.fixedOffset = spec.type == ColumnType::Boolean ? 0 : fixedOffset;
            if (spec.type != ColumnType::Boolean)
                fixedOffset = static_cast<std::uint16_t>(fixedOffset + col.length);
        } else {
            if (spec.type == ColumnType::Text) {
                if (spec.maxChars < 1 || spec.maxChars > 255)
                    throw Error(ErrorKind::Invalid,
                                named("text column", spec.name) + " must hold 1 to 255 characters");
                col.length = static_cast<std::uint16_t>(spec.maxChars * 2);
            } else if (spec.type == ColumnType::Binary) {
                col.length = 255;
            } else if (spec.type == ColumnType::Numeric) {
                col.length = 9; // as Access declares it
            }
        }
        if (def.flags) {
            col.flags = *def.flags;
        } else {
            col.flags =
                static_cast<std::uint8_t>(kColumnUpdatable | (col.fixed ? kColumnFixed : 0) |
                                          (spec.autoNumber ? kColumnAutoLong : 0));
            if (spec.type == ColumnType::Text || spec.type == ColumnType::Memo)
                col.extFlags = kColumnExtCompressedUnicode;
        }
        table.columns.push_back(std::move(col));
    }

    // Long values come last in the offset table, as Access lays them out: their row part is
    // small and fixed, so the other variable columns keep the room they need.
    std::uint16_t varIndex = 0;
    for (bool longValues : {false, true})
        for (auto& col : table.columns)
            if (!col.fixed && isLongValue(col.type) == longValues)
                col.varIndex = varIndex++;
    return table;
}

} // namespace jet::detail
