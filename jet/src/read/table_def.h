// Table definitions (TDEF pages, possibly chained): columns, indexes and the usage-map pointers.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "jet/database.h"
#include "read/code_page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

// Column flags, and the extra flags Jet 4 keeps beside them.
inline constexpr std::uint8_t kColumnFixed = 0x01;
inline constexpr std::uint8_t kColumnUpdatable = 0x02;
inline constexpr std::uint8_t kColumnAutoLong = 0x04;
inline constexpr std::uint8_t kColumnAutoGuid = 0x40;
inline constexpr std::uint8_t kColumnExtCompressedUnicode = 0x01;

// A physical index lists up to ten columns; 0xffff marks an unused entry (and ends the list of
// long-value maps).
inline constexpr std::size_t kIndexColumnSlots = 10;
inline constexpr std::uint16_t kNoColumn = 0xffff;

// Where a column's value sits in a row.
struct ColumnPlacement {
    std::uint16_t varIndex = 0;    // entry in the row's variable offset table
    std::uint16_t fixedOffset = 0; // offset in the fixed part, after the column count
    std::uint16_t codePage = 0;    // Jet 3 text columns; 0 when not stored
    std::uint8_t flags = 0;
};

// The usage maps of one memo or OLE column's long-value pages.
struct LongValueMapRef {
    std::uint16_t column = 0; // column number
    std::uint32_t ownedMap = 0;
    std::uint32_t freeMap = 0;
};

struct TableDef {
    std::string name;
    std::uint32_t page = 0; // first TDEF page: the table's identity in data pages
    std::uint32_t storedRowCount = 0;
    std::uint32_t lastAutoNumber = 0;
    std::uint8_t tableType = 0;
    std::uint16_t maxColumns = 0; // columns a row may hold, deleted ones included
    std::uint16_t varColumnCount = 0;
    std::vector<Column> columns;             // definition order
    std::vector<ColumnPlacement> placements; // parallel to columns
    std::vector<Index> indexes;
    std::vector<std::uint32_t> indexUsageMaps; // parallel to indexes: row pointers to the maps
                                               // of their index pages
    std::uint32_t ownedPagesMap = 0;           // row pointer to the owned-pages usage map
    std::uint32_t freePagesMap = 0;            // row pointer to the free-space usage map
    std::uint32_t realIndexCount = 0;
    std::vector<LongValueMapRef> longValueMaps; // absent in definitions that predate them
};

// The pages of a table's definition, the first one first. ErrorKind Corrupt when one is not a
// definition page or the chain loops.
std::vector<std::uint32_t> tableDefPages(const PageStore& pages, std::uint32_t firstPage,
                                         const std::string& tableName);

// The TDEF bytes of a table: the first page whole, continuation pages after their 8-byte header.
std::vector<std::uint8_t> readTableDefBytes(const PageStore& pages, std::uint32_t firstPage,
                                            const std::string& tableName);

TableDef readTableDef(const PageStore& pages, const JetFormat& format,
                      const CodePageDecoder& nameDecoder, std::uint32_t firstPage,
                      std::string tableName);

// Position in def.columns of the column with that number (as rows and index definitions name
// columns); -1 when there is none.
int positionOfColumnNumber(const TableDef& def, std::uint16_t number);

// Fixed storage size of a column type; 0 for variable-length types and booleans.
std::size_t fixedSizeOf(ColumnType type);

} // namespace jet::detail
