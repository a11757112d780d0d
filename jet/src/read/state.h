// What the public handles (Database, Table, Cursor) share behind their pointers.
#pragma once

#include "file/file_identity.h"
#include "file/header.h"
#include "file/page_source.h"
#include "jet/database.h"
#include "read/catalog.h"
#include "read/code_page.h"
#include "read/complex_values.h"
#include "read/long_value.h"
#include "read/row.h"
#include "read/table_def.h"
#include "read/table_scan.h"

#include <filesystem>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

struct DatabaseState {
    std::filesystem::path path;
    detail::FileIdentity identity; // of the file as it was read
    detail::Header header;
    const detail::JetFormat* format = nullptr;
    detail::PageStore pages;
    std::unique_ptr<detail::CodePageDecoder> textDecoder;
    bool hasPassword = false;
    std::vector<detail::CatalogEntry> userTables; // catalogue order
    std::vector<detail::CatalogEntry> allTables;  // system and hidden tables too
};

struct TableState {
    std::shared_ptr<const DatabaseState> database;
    detail::TableDef def;
    // The field shown for a complex column's stored key: its hidden table's rows, read once per
    // column when first asked for (by whichever cursor of the table, on whichever thread).
    ComplexValue complexValue(std::size_t column, std::int64_t key) const;

private:
    mutable std::mutex complexMutex_;
    mutable std::map<std::size_t, detail::ComplexColumnValues> complex_;
};

// Aligned to whole cache lines: cursors walked on separate threads write their state every row,
// and must not share a line.
struct alignas(64) CursorState {
    explicit CursorState(std::shared_ptr<const TableState> t)
        : table(std::move(t)), scan(table->database->pages, *table->database->format, table->def) {}
    // A walk of only these of the table's pages.
    CursorState(std::shared_ptr<const TableState> t, std::vector<std::uint32_t> ownedPages)
        : table(std::move(t)), scan(table->database->pages, *table->database->format, table->def,
                                    std::move(ownedPages)) {}

    std::shared_ptr<const TableState> table;
    detail::TableScan scan;
    std::uint64_t generation = table->database->pages.generation(); // of the pages it walks
    std::uint64_t recordCount = 0;
    bool counted = false; // recordCount is known
    bool onRow = false;
    bool started = false; // has stood on its first row (a part of a walk waits until first used)
    detail::RowFrame row; // of the current row
    // Decoded on first use per row. Both are sized at the first use, on the thread that walks.
    std::vector<Value> values;
    // Parallel to values: the row each value was decoded from, counting rows from 1, so a move
    // to the next row clears them all at once.
    std::vector<std::uint64_t> decodedOnRow;
    bool decoded(std::size_t column) const {
        return column < decodedOnRow.size() && decodedOnRow[column] == rowSerial;
    }
    std::uint64_t rowSerial = 0;
    std::vector<std::uint8_t> longValue; // scratch for chained long values
    detail::NearbyPages nearby{&scan.readAhead(), {}};
};

namespace detail {

// What Database::open does before it reads the catalogue: reads the header, checks the password
// (ErrorKind BadPassword) and readies the pages.
std::shared_ptr<DatabaseState> openDatabaseFile(const std::filesystem::path& path,
                                                std::string_view password,
                                                const OpenOptions& options);
// The user table of that name, ignoring case; ErrorKind NotFound naming the file when none.
const CatalogEntry& userTable(const DatabaseState& db, std::string_view name);
// A user table's definition; a Corrupt error names the file.
TableDef readUserTableDef(const DatabaseState& db, const CatalogEntry& entry);

// The engine's own way behind a Database handle (for the writer and the integrity check).
struct DatabaseAccess {
    static const std::shared_ptr<DatabaseState>& state(const Database& db) { return db.state_; }
    static Database make(std::shared_ptr<DatabaseState> state) {
        return Database(std::move(state));
    }
};

} // namespace detail

} // namespace jet
