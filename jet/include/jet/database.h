// Opening a Jet 3 (Access 97), Jet 4 (Access 2000-2003) or ACE (Access 2007 and later) database
// and reading its tables.
//
//   jet::Database db = jet::Database::open("words.mdb", "secret");
//   jet::Table t = db.table("data");
//   jet::Cursor c = t.cursor();
//   for (bool ok = c.moveFirst(); ok; ok = c.moveNext()) use(c.text("Key"));
#pragma once

#include "jet/error.h"
#include "jet/value.h"
#include "jet/version.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

struct Column {
    std::string name;
    ColumnType type = ColumnType::Text;
    std::uint16_t number = 0; // the column's id in rows
    std::uint16_t length = 0; // declared size in bytes (text: bytes of storage)
    bool fixedLength = false; // stored in the fixed part of the row
    bool autoNumber = false;  // a long whose value the engine assigns
    bool compressedUnicode = false;
    bool calculated = false;    // holds the stored result of an expression (Access 2010 and later)
    std::uint8_t precision = 0; // numeric only
    std::uint8_t scale = 0;     // numeric only
};

struct IndexColumn {
    std::uint16_t column = 0; // position in Table::columns()
    bool ascending = true;
};

struct Index {
    std::string name;
    std::vector<IndexColumn> columns;
    bool primaryKey = false;
    bool unique = false;
    bool ignoreNulls = false;
    bool foreignKey = false;
    std::uint32_t firstPage = 0;
};

// Choices a caller can make when opening. Jet 3 files do not always say which code page their
// text uses (Access took the creating machine's), so a caller may name it.
struct OpenOptions {
    std::uint16_t jet3CodePage = 0; // e.g. 936 for GBK; 0: as the file says, else Windows-1252
};

class Table;
class Cursor;
namespace detail {
struct DatabaseAccess;
}
struct DatabaseState;
struct TableState;
struct CursorState;

class Database {
public:
    // Opens read-only. A database with a password opens only with that password (ErrorKind
    // BadPassword otherwise); one without a password opens with any.
    static Database open(const std::filesystem::path& path, std::string_view password = {});
    static Database open(const std::filesystem::path& path, std::string_view password,
                         const OpenOptions& options);

    Version version() const;
    std::uint32_t pageSize() const;
    std::uint32_t pageCount() const;
    bool hasPassword() const;
    bool pageEncrypted() const;
    std::uint16_t codePage() const; // code page of Jet 3 text (1252 unless the file says otherwise)
    const std::filesystem::path& path() const;

    // User tables in catalogue order: no system, linked or deleted objects.
    std::vector<std::string> tableNames() const;
    bool hasTable(std::string_view name) const;
    // Finds a user table by name, ignoring case as Jet does; ErrorKind NotFound if absent.
    Table table(std::string_view name) const;

private:
    friend class Table;
    friend struct detail::DatabaseAccess;
    explicit Database(std::shared_ptr<DatabaseState> state);
    std::shared_ptr<DatabaseState> state_;
};

class Table {
public:
    // In the order of the table's definition. References live as long as this Table object; a
    // temporary Table hands out copies instead, so `db.table("t").columns()` is safe.
    const std::string& name() const&;
    const std::vector<Column>& columns() const&;
    const std::vector<Index>& indexes() const&;
    std::string name() const&& { return name(); }
    std::vector<Column> columns() const&& { return columns(); }
    std::vector<Index> indexes() const&& { return indexes(); }
    // Position of a column by name, ignoring case; -1 if none.
    int columnIndex(std::string_view name) const;
    // Row count as stored in the table definition.
    std::uint32_t storedRowCount() const;
    Cursor cursor() const;
    // The walk of cursor() cut into consecutive parts of at most `pagesPerPart` of the table's
    // pages, so that several threads can walk a large table at once: the rows of the first part,
    // then those of the second and so on are the rows of cursor(), in its order. There is always at
    // least one part. A part reads nothing until it is first used. Each cursor is for one thread
    // at a time; reading only, parts may run in parallel.
    std::vector<Cursor> partCursors(std::size_t pagesPerPart) const;

private:
    friend class Database;
    friend class Cursor;
    explicit Table(std::shared_ptr<TableState> state);
    std::shared_ptr<TableState> state_;
};

// Walks a table's rows in the file's own order: data pages in page order, rows in slot order,
// deleted rows skipped, overflow rows followed. A new cursor already stands on the first row
// (eof() at once for an empty table), so both `for (ok = moveFirst(); ok; ok = moveNext())` and
// `while (!eof()) { ...; moveNext(); }` visit every row.
class Cursor {
public:
    // Exact number of rows the walk visits, known before it starts.
    std::uint64_t recordCount() const;
    bool moveFirst();
    bool moveNext();
    bool eof() const;

    // Fields of the current row; ErrorKind Invalid when there is no current row.
    const Value& value(std::size_t column) const;
    const Value& value(std::string_view columnName) const;
    // The field as UTF-8 text (null gives "").
    std::string text(std::string_view columnName) const;
    // The same into `out`, reusing its buffer: text and memo fields are decoded straight into
    // it. Only the fields asked for are ever decoded, so a walk that reads one column never
    // reads another's long values.
    void readText(std::size_t column, std::string& out) const;
    // Appends the field's text to `out`, as readText() would give it; false, with nothing
    // appended, when the field is null.
    bool appendText(std::size_t column, std::string& out) const;
    // Whether the field of the current row is null, without decoding it (a boolean never is).
    bool isNull(std::size_t column) const;
    // References returned by value() stay valid until the cursor moves.

private:
    friend class Table;
    explicit Cursor(std::shared_ptr<CursorState> state);
    std::shared_ptr<CursorState> state_;
};

} // namespace jet
