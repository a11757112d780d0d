#include "file/errors.h"
#include "read/field_decode.h"
#include "read/long_value.h"
#include "read/names.h"
#include "read/state.h"

#include <algorithm>

namespace jet {

using namespace detail;

namespace {

// Runs a step of the walk. A file cut short by another program meanwhile reads as zeros where
// its bytes went missing; that, rather than the damage those zeros seem to show, is the error.
template <class Work> auto readingFile(const DatabaseState& db, Work&& work) -> decltype(work()) {
    try {
        auto result = inFile(db.path, work);
        db.pages.checkIntact();
        return result;
    } catch (const Error&) {
        db.pages.checkIntact();
        throw;
    }
}

} // namespace

ComplexValue TableState::complexValue(std::size_t column, std::int64_t key) const {
    const std::lock_guard lock(complexMutex_);
    auto found = complex_.find(column);
    if (found == complex_.end())
        found = complex_.emplace(column, ComplexColumnValues::read(*database, def, column)).first;
    return found->second.valueOf(key);
}

Table::Table(std::shared_ptr<TableState> state) : state_(std::move(state)) {}

const std::string& Table::name() const& {
    return state_->def.name;
}
const std::vector<Column>& Table::columns() const& {
    return state_->def.columns;
}
const std::vector<Index>& Table::indexes() const& {
    return state_->def.indexes;
}
std::uint32_t Table::storedRowCount() const {
    return state_->def.storedRowCount;
}

int Table::columnIndex(std::string_view name) const {
    return columnPosition(state_->def.columns, name);
}

Cursor Table::cursor() const {
    auto cursor =
        readingFile(*state_->database, [&] { return std::make_shared<CursorState>(state_); });
    Cursor result(std::move(cursor));
    result.moveFirst();
    return result;
}

std::vector<Cursor> Table::partCursors(std::size_t pagesPerPart) const {
    const DatabaseState& db = *state_->database;
    const std::vector<std::uint32_t> pages =
        readingFile(db, [&] { return tableOwnedPages(db.pages, *db.format, state_->def); });
    // Parts are cut from the pages the table owns: which of them hold rows shows only when the
    // walk reads them. A part reads nothing until its thread first uses it.
    const std::size_t each = std::max<std::size_t>(pagesPerPart, 1);
    std::vector<Cursor> parts;
    std::size_t first = 0;
    do {
        const std::size_t end = std::min(pages.size(), first + each);
        parts.push_back(Cursor(std::make_shared<CursorState>(
            state_, std::vector<std::uint32_t>(pages.begin() + static_cast<std::ptrdiff_t>(first),
                                               pages.begin() + static_cast<std::ptrdiff_t>(end)))));
        first = end;
    } while (first < pages.size());
    return parts;
}

Cursor::Cursor(std::shared_ptr<CursorState> state) : state_(std::move(state)) {}

namespace {

// A write session that adds pages moves them in memory; a cursor opened before must not go on.
void checkCurrent(const CursorState& s) {
    if (s.generation != s.table->database->pages.generation())
        throw Error(ErrorKind::Invalid, named("table", s.table->def.name) +
                                            " has changed since this cursor was opened");
}

void startIfNeeded(CursorState& s);

// The column of the current row that a read asks for.
const Column& checkedColumn(CursorState& s, std::size_t column) {
    startIfNeeded(s);
    checkCurrent(s);
    const TableDef& def = s.table->def;
    if (!s.onRow)
        throw Error(ErrorKind::Invalid, "no current row in " + named("table", def.name));
    if (column >= def.columns.size())
        throw Error(ErrorKind::Invalid,
                    named("table", def.name) + " has no column " + std::to_string(column));
    return def.columns[column];
}

// Moves to the next row of the walk.
bool advance(CursorState& s) {
    checkCurrent(s);
    const TableState& table = *s.table;
    return readingFile(*table.database, [&] {
        s.onRow = s.scan.next();
        if (s.onRow) {
            s.row.read(*table.database->format, table.def, s.scan.row(), s.scan.rowPage());
            ++s.rowSerial;
        } else {
            s.nearby.lastLongValuePage = PageRun(); // a walk over holds no memory
        }
        return s.onRow;
    });
}

// Back before the first row, then onto it.
bool restart(CursorState& s) {
    checkCurrent(s);
    s.started = true;
    s.scan.rewind();
    s.onRow = false;
    return advance(s);
}

// A part of a walk reads nothing until it is first used, and then stands on its first row as
// every new cursor does.
void startIfNeeded(CursorState& s) {
    if (!s.started)
        restart(s);
}

} // namespace

// Counted when first asked, not when the cursor opens: a walk that never asks (a dump) reads
// each page once instead of twice.
std::uint64_t Cursor::recordCount() const {
    CursorState& s = *state_;
    if (!s.counted) {
        checkCurrent(s);
        s.recordCount = readingFile(*s.table->database, [&] { return s.scan.countRows(); });
        s.counted = true;
    }
    return s.recordCount;
}

bool Cursor::isNull(std::size_t column) const {
    const Column& c = checkedColumn(*state_, column);
    return c.type != ColumnType::Boolean && !readingFile(*state_->table->database, [&] {
               return state_->row.field(column).present;
           });
}

bool Cursor::moveFirst() {
    return restart(*state_);
}

bool Cursor::moveNext() {
    startIfNeeded(*state_);
    return advance(*state_);
}

bool Cursor::eof() const {
    startIfNeeded(*state_);
    return !state_->onRow;
}

const Value& Cursor::value(std::size_t column) const {
    CursorState& s = *state_;
    checkedColumn(s, column);
    const TableState& table = *s.table;
    if (!s.decoded(column)) {
        if (s.values.empty()) {
            s.values.resize(table.def.columns.size());
            s.decodedOnRow.resize(table.def.columns.size());
        }
        const DatabaseState& db = *table.database;
        readingFile(db, [&] {
            const FieldContext context{db.pages, *db.format, *db.textDecoder, s.longValue,
                                       &s.nearby};
            decodeFieldInto(context, table.def.name, table.def.columns[column], s.row.field(column),
                            s.scan.rowPage(), s.values[column]);
            if (s.values[column].is<ComplexValue>())
                s.values[column] =
                    table.complexValue(column, s.values[column].as<ComplexValue>().key);
            return true;
        });
        s.decodedOnRow[column] = s.rowSerial;
    }
    return s.values[column];
}

const Value& Cursor::value(std::string_view columnName) const {
    const TableState& table = *state_->table;
    const int position = columnPosition(table.def.columns, columnName);
    if (position >= 0)
        return value(static_cast<std::size_t>(position));
    throw Error(ErrorKind::NotFound,
                named("table", table.def.name) + " has no " + named("column", columnName));
}

void Cursor::readText(std::size_t column, std::string& out) const {
    out.clear();
    appendText(column, out);
}

bool Cursor::appendText(std::size_t column, std::string& out) const {
    CursorState& s = *state_;
    const Column& c = checkedColumn(s, column);
    const bool textual = c.type == ColumnType::Text || c.type == ColumnType::Memo;
    if (!textual || s.decoded(column)) {
        const Value& v = value(column);
        if (v.isNull())
            return false;
        out += toText(v);
        return true;
    }
    const DatabaseState& db = *s.table->database;
    return readingFile(db, [&] {
        const FieldRef field = s.row.field(column);
        if (!field.present)
            return false;
        const FieldContext context{db.pages, *db.format, *db.textDecoder, s.longValue, &s.nearby};
        appendTextField(context, s.table->def.name, c, field, s.scan.rowPage(), out);
        return true;
    });
}

std::string Cursor::text(std::string_view columnName) const {
    return toText(value(columnName));
}

} // namespace jet
