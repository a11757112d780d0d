// Where a new table's columns live in its rows, and the definition that records it.
#pragma once

#include "jet/create.h"
#include "read/table_def.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jet::detail {

struct ColumnLayout {
    std::string name;
    ColumnType type = ColumnType::Text;
    std::uint16_t number = 0;      // position in rows and in the null mask
    std::uint16_t varIndex = 0;    // variable columns: slot in the offset table
    std::uint16_t fixedOffset = 0; // fixed columns: offset in the fixed part
    std::uint16_t length = 0;      // declared size in bytes
    std::uint8_t flags = 0;
    std::uint8_t extFlags = 0;
    bool fixed = false;
    bool compressedUnicode() const { return (extFlags & kColumnExtCompressedUnicode) != 0; }
};

// A named index and the physical index behind it, which indexes over the same columns in the
// same direction with the same flags share (the first of them lays it out).
struct IndexLayout {
    std::string name;
    std::vector<std::uint16_t> columns; // column numbers
    bool descending = false;            // all its columns
    std::uint8_t flags = kIndexFlagsSet;
    bool primaryKey = false;
    std::uint32_t physical = 0; // its number among the table's physical indexes
    std::uint32_t rootPage = 0;
    std::uint32_t usageMap = 0; // row pointer of the map of its pages
    std::uint32_t entryCount = 0;
};

struct LongValueMaps {
    std::uint16_t column = 0;
    std::uint32_t owned = 0; // row pointers of the usage maps of its long-value pages
    std::uint32_t free = 0;
};

struct TableLayout {
    std::string name;
    bool system = false;
    std::vector<ColumnLayout> columns;
    std::vector<IndexLayout> indexes;
    std::vector<LongValueMaps> longValueMaps;
    std::uint32_t rowCount = 0;
    std::uint32_t lastAutoNumber = 0;
    std::uint32_t ownedPages = 0; // row pointers of the table's usage maps
    std::uint32_t freePages = 0;
    // The version of the "General" sort order its columns declare: 0, the order of Access
    // 2000-2003, in Jet 4 files; 1, the current one, in Access 2010 files.
    std::uint8_t sortVersion = 0;

    std::uint16_t variableCount() const;
};

// A column as the engine defines it; system tables set their flags as Jet itself does.
struct ColumnDefinition {
    ColumnSpec spec;
    std::optional<std::uint8_t> flags;
};

// Numbers the columns in order, assigns fixed offsets and variable slots, and picks the flags
// Access gives new columns. ErrorKind Invalid for a column that cannot be stored (a decimal
// column only when the engine gives its flags: the empty template table of Access 2010 files).
TableLayout layoutTable(const std::string& name, const std::vector<ColumnDefinition>& columns,
                        bool system);

} // namespace jet::detail
