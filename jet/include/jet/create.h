// Creating new, empty Jet 4 (Access 2000-2003) and Access 2010 (ACE 14) databases.
#pragma once

#include "jet/value.h"
#include "jet/version.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace jet {

struct ColumnSpec {
    std::string name;
    ColumnType type = ColumnType::Text;
    std::uint16_t maxChars = 255; // text columns only: 1 to 255 characters
    bool autoNumber = false;      // long columns only
};

// An index of a new table, over one or more of its columns (all ascending, or all descending).
// A primary key is unique and refuses nulls; it is named "PrimaryKey". Other indexes take
// `name`, or when it is empty the names of their columns joined by "_" (a table holds at most
// 32 indexes). An index that ignores nulls has no entry for a row whose columns are all null.
// Indexes over the same columns in the same direction with the same flags share their entries,
// as Access lets them.
struct IndexSpec {
    std::vector<std::string> columns;
    bool unique = false;
    bool primaryKey = false;
    std::string name = {};
    bool descending = false;
    bool ignoreNulls = false;
};

struct TableSpec {
    std::string name;
    std::vector<ColumnSpec> columns;
    std::vector<IndexSpec> indexes = {};
};

struct CreateOptions {
    std::string password; // up to 20 characters; empty for none (always, for Access 2010)
    // Creation time as days since 1899-12-30; the current time when not given.
    std::optional<double> creationTime;
    // Jet4 (an .mdb file) or Ace14 (an Access 2010 .accdb file, with the system tables Access
    // 2010 adds and text in its current "General" sort order).
    Version version = Version::Jet4;
};

// The bytes of a new database holding Jet's system catalogue and the given empty user tables.
// ErrorKind Invalid when a name, column or password cannot be stored, or for another version.
std::vector<std::uint8_t> buildDatabase(const std::vector<TableSpec>& tables,
                                        const CreateOptions& options = {});

// Writes a new database to `path` atomically (the file appears whole or not at all). An existing
// file at `path` is replaced.
void createDatabase(const std::filesystem::path& path, const std::vector<TableSpec>& tables,
                    const CreateOptions& options = {});

} // namespace jet
