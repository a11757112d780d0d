// Table definitions (TDEF pages, possibly chained): columns, indexes and the usage-map pointers,
// read in one pass.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "jet/database.h"
#include "read/code_page.h"
#include "read/text_sort_order.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jet::detail {

// Column flags, and the extra flags Jet 4 keeps beside them.
inline constexpr std::uint8_t kColumnFixed = 0x01;
inline constexpr std::uint8_t kColumnUpdatable = 0x02;
inline constexpr std::uint8_t kColumnAutoLong = 0x04;
inline constexpr std::uint8_t kColumnAutoGuid = 0x40;
inline constexpr std::uint8_t kColumnExtCompressedUnicode = 0x01;
inline constexpr std::uint8_t kColumnExtCalculated = 0xc0;

// A physical index lists up to ten columns; 0xffff marks an unused entry (and ends the list of
// long-value maps).
inline constexpr std::size_t kIndexColumnSlots = 10;
inline constexpr std::uint16_t kNoColumn = 0xffff;

// The text sort order a column declares (Jet 4 text and memo columns), as stored: a code and
// a version. New columns declare the "General" order of Access 2000-2003: code 1033, version 0.
inline constexpr std::uint16_t kGeneralSortCode = 1033;
struct ColumnSortOrder {
    std::uint16_t code = 0;
    std::uint8_t version = 0;
    // The sort order the engine builds keys for, if it is one.
    std::optional<TextSortOrder> supported() const;
    std::string name() const;
};

// Where a column's value sits in a row.
struct ColumnPlacement {
    std::uint16_t varIndex = 0;    // entry in the row's variable offset table
    std::uint16_t fixedOffset = 0; // offset in the fixed part, after the column count
    std::uint16_t codePage = 0;    // Jet 3 text columns; 0 when not stored
    std::uint8_t flags = 0;
    ColumnSortOrder sortOrder;   // all zero in Jet 3 files, which keep a code page instead
    std::uint32_t complexId = 0; // complex columns: their row in MSysComplexColumns
};

// A physical index's flags: 0x80 always set, then unique, nulls left out, nulls refused.
inline constexpr std::uint8_t kIndexFlagsSet = 0x80;
inline constexpr std::uint8_t kIndexFlagUnique = 0x01;
inline constexpr std::uint8_t kIndexFlagIgnoreNulls = 0x02;
inline constexpr std::uint8_t kIndexFlagRequired = 0x08;

// A physical index: the tree of entries that one or more logical indexes (TableDef::indexes)
// share.
struct RealIndex {
    std::vector<IndexColumn> columns;
    std::uint32_t usageMap = 0; // row pointer to the usage map of its pages
    std::uint32_t root = 0;
    std::uint8_t flags = 0;
};

// What a logical index stores besides its Index: the physical index it uses and, for a
// foreign-key index of an enforced relationship (`related` true), whether this table is the one
// ("primary") side, the related table's definition page and the related index's number.
inline constexpr std::uint8_t kLogicalIndexPrimaryKey = 1;
inline constexpr std::uint8_t kLogicalIndexForeignKey = 2;
struct LogicalIndexFacts {
    std::string name;
    std::uint32_t number = 0;   // what a related table's index names it by
    std::uint32_t physical = 0; // in TableDef::realIndexes
    bool related = false;
    bool primarySide = false;
    std::uint32_t relatedTablePage = 0;
    std::uint32_t relatedIndex = 0;
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
    std::vector<Column> columns;                   // definition order
    std::vector<ColumnPlacement> placements;       // parallel to columns
    std::vector<Index> indexes;                    // logical indexes, as stored
    std::vector<LogicalIndexFacts> logicalIndexes; // parallel to indexes
    std::vector<RealIndex> realIndexes;
    std::uint32_t ownedPagesMap = 0;            // row pointer to the owned-pages usage map
    std::uint32_t freePagesMap = 0;             // row pointer to the free-space usage map
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

// Memo and OLE: the types whose values are long values.
inline bool isLongValue(ColumnType type) {
    return type == ColumnType::Memo || type == ColumnType::Ole;
}

} // namespace jet::detail
