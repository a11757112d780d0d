// The logical indexes of a table definition as stored, with the facts an index behind an
// enforced relationship carries: the related table, the related index and the cascade flags.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "read/table_def.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

inline constexpr std::uint8_t kLogicalIndexPrimaryKey = 1;
inline constexpr std::uint8_t kLogicalIndexForeignKey = 2;

struct LogicalIndexFacts {
    std::string name;
    std::uint32_t number = 0;   // what a related table's index names it by
    std::uint32_t physical = 0; // the physical index holding its entries
    std::uint8_t type = 0;      // primary key, foreign key or neither

    // For a foreign-key index of an enforced relationship (`related` true): whether this table
    // is the one ("primary") side, the related table's definition page and its index number.
    bool related = false;
    bool primarySide = false;
    std::uint32_t relatedTablePage = 0;
    std::uint32_t relatedIndex = 0;
    bool cascadeUpdates = false;
    bool cascadeDeletes = false;
    bool cascadeNull = false;
};

// Offset in the definition bytes of the first physical index block: after the header, the
// index counts, the column blocks and the column names.
std::size_t physicalIndexListOffset(const std::vector<std::uint8_t>& bytes, const JetFormat& format,
                                    const TableDef& def);

// The logical indexes of `def`, in stored order (the order of def.indexes).
std::vector<LogicalIndexFacts> readLogicalIndexes(const PageStore& pages, const JetFormat& format,
                                                  const TableDef& def);

} // namespace jet::detail
