// The system tables every Jet 4 database holds, as a new database lays them out: the catalogue
// of objects (MSysObjects), their permissions (MSysACEs), saved queries and relationships; and
// those Access 2010 files add: the list of complex columns and the empty template tables of
// multi-value and attachment fields.
#pragma once

#include "jet/value.h"
#include "write/table_layout.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

struct IndexDefinition {
    std::string name;
    std::vector<std::uint16_t> columns; // column numbers
    std::uint8_t flags = kIndexFlagsSet;
    bool primaryKey = false;
    bool descending = false; // all its columns
};

struct TableDefinition {
    std::string name;
    bool system = false;
    std::vector<ColumnDefinition> columns;
    std::vector<IndexDefinition> indexes;
};

// Object ids of the catalogue's containers and the database object.
constexpr std::int32_t kRootContainerId = 0x0f000000;
constexpr std::int32_t kTablesContainerId = 0x0f000001;
constexpr std::int32_t kDatabasesContainerId = 0x0f000002;
constexpr std::int32_t kRelationshipsContainerId = 0x0f000003;
constexpr std::int32_t kDatabaseObjectId = 0x10000000;

// MSysObjects, MSysACEs, MSysQueries, MSysRelationships in that order; MSysObjects must take
// page 2.
std::vector<TableDefinition> systemTableDefinitions();

// MSysComplexColumns and the MSysComplexType_ tables, in that order, as Access 2010 defines
// them (their tables' type says user, the catalogue's flags system).
std::vector<TableDefinition> aceSystemTableDefinitions();

struct UserTableEntry {
    std::string name;
    std::int32_t id = 0; // the page of its definition
};

// Rows of MSysObjects (column order of its definition) for the containers, the system tables
// (whose ids are their definition pages 2 to 5), the ACE system tables (`aceTables`, empty in
// Jet 4 files) and the user tables.
std::vector<std::vector<Value>> catalogueRows(const std::vector<UserTableEntry>& aceTables,
                                              const std::vector<UserTableEntry>& userTables,
                                              double now);
// Rows of MSysACEs for the same objects.
std::vector<std::vector<Value>> permissionRows(const std::vector<UserTableEntry>& aceTables,
                                               const std::vector<UserTableEntry>& userTables);

} // namespace jet::detail
