#include "file/errors.h"
#include "read/field_decode.h"
#include "read/long_value.h"
#include "read/names.h"
#include "read/state.h"

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
    auto cursor = readingFile(*state_->database, [&] {
        auto state = std::make_shared<CursorState>(state_);
        const std::size_t columns = state_->def.columns.size();
        state->values.resize(columns);
        state->decodedOnRow.resize(columns);
        return state;
    });
    Cursor result(std::move(cursor));
    result.moveFirst();
    return result;
}

Cursor::Cursor(std::shared_ptr<CursorState> state) : state_(std::move(state)) {}

namespace {

// A write session that adds pages moves them in memory; a cursor opened before must not go on.
void checkCurrent(const CursorState& s) {
    if (s.generation != s.table->database->pages.generation())
        throw Error(ErrorKind::Invalid,
                    "table \"" + s.table->def.name + "\" has changed since this cursor was opened");
}

// The column of the current row that a read asks for.
const Column& checkedColumn(const CursorState& s, std::size_t column) {
    checkCurrent(s);
    const TableDef& def = s.table->def;
    if (!s.onRow)
        throw Error(ErrorKind::Invalid, "no current row in table \"" + def.name + "\"");
    if (column >= s.values.size())
        throw Error(ErrorKind::Invalid,
                    "table \"" + def.name + "\" has no column " + std::to_string(column));
    return def.columns[column];
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
    return c.type != ColumnType::Boolean && !state_->fields[column].present;
}

bool Cursor::moveFirst() {
    checkCurrent(*state_);
    state_->scan.rewind();
    state_->onRow = false;
    return moveNext();
}

bool Cursor::moveNext() {
    CursorState& s = *state_;
    checkCurrent(s);
    const TableState& table = *s.table;
    return readingFile(*table.database, [&] {
        s.onRow = s.scan.next();
        if (s.onRow) {
            crackRow(*table.database->format, table.def, s.scan.row(), s.scan.rowPage(),
                     s.rowScratch, s.fields);
            ++s.rowSerial;
        }
        return s.onRow;
    });
}

bool Cursor::eof() const {
    return !state_->onRow;
}

const Value& Cursor::value(std::size_t column) const {
    CursorState& s = *state_;
    checkedColumn(s, column);
    const TableState& table = *s.table;
    if (s.decodedOnRow[column] != s.rowSerial) {
        const DatabaseState& db = *table.database;
        readingFile(db, [&] {
            const FieldContext context{db.pages, *db.format, *db.textDecoder, s.longValue};
            decodeFieldInto(context, table.def.name, table.def.columns[column], s.fields[column],
                            s.scan.rowPage(), s.values[column]);
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
    throw Error(ErrorKind::NotFound, "table \"" + table.def.name + "\" has no column \"" +
                                         std::string(columnName) + "\"");
}

void Cursor::readText(std::size_t column, std::string& out) const {
    CursorState& s = *state_;
    const Column& c = checkedColumn(s, column);
    if (s.decodedOnRow[column] == s.rowSerial ||
        (c.type != ColumnType::Text && c.type != ColumnType::Memo)) {
        out = toText(value(column));
        return;
    }
    const DatabaseState& db = *s.table->database;
    out.clear();
    readingFile(db, [&] {
        const FieldRef& field = s.fields[column];
        if (!field.present)
            return true;
        const FieldContext context{db.pages, *db.format, *db.textDecoder, s.longValue};
        ByteSpan bytes = field.bytes;
        if (c.type == ColumnType::Memo)
            bytes = readLongValue(db.pages, *db.format, field.bytes, s.scan.rowPage(),
                                  FieldLabel{s.table->def.name, c.name}, s.longValue);
        appendFieldText(context, bytes, out);
        return true;
    });
}

std::string Cursor::text(std::string_view columnName) const {
    return toText(value(columnName));
}

} // namespace jet
