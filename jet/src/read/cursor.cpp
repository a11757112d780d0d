#include "file/errors.h"
#include "read/field_decode.h"
#include "read/names.h"
#include "read/state.h"

namespace jet {

using namespace detail;

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
    const auto& file = state_->database->path;
    auto cursor = inFile(file, [&] {
        auto state = std::make_shared<CursorState>(state_);
        state->recordCount = state->scan.countRows();
        const std::size_t columns = state_->def.columns.size();
        state->values.resize(columns);
        state->decoded.resize(columns);
        return state;
    });
    Cursor result(std::move(cursor));
    result.moveFirst();
    return result;
}

Cursor::Cursor(std::shared_ptr<CursorState> state) : state_(std::move(state)) {}

std::uint64_t Cursor::recordCount() const {
    return state_->recordCount;
}

namespace {

// A write session that adds pages moves them in memory; a cursor opened before must not go on.
void checkCurrent(const CursorState& s) {
    if (s.generation != s.table->database->pages.generation())
        throw Error(ErrorKind::Invalid,
                    "table \"" + s.table->def.name + "\" has changed since this cursor was opened");
}

} // namespace

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
    return inFile(table.database->path, [&] {
        s.onRow = s.scan.next();
        if (s.onRow) {
            crackRow(*table.database->format, table.def, s.scan.row(), s.scan.rowPage(),
                     s.rowScratch, s.fields);
            std::fill(s.decoded.begin(), s.decoded.end(), 0);
        }
        return s.onRow;
    });
}

bool Cursor::eof() const {
    return !state_->onRow;
}

const Value& Cursor::value(std::size_t column) const {
    CursorState& s = *state_;
    checkCurrent(s);
    const TableState& table = *s.table;
    if (!s.onRow)
        throw Error(ErrorKind::Invalid, "no current row in table \"" + table.def.name + "\"");
    if (column >= s.values.size())
        throw Error(ErrorKind::Invalid,
                    "table \"" + table.def.name + "\" has no column " + std::to_string(column));
    if (!s.decoded[column]) {
        const DatabaseState& db = *table.database;
        inFile(db.path, [&] {
            const FieldContext context{db.pages, *db.format, *db.textDecoder, s.longValue};
            decodeFieldInto(context, table.def.name, table.def.columns[column], s.fields[column],
                            s.scan.rowPage(), s.values[column]);
        });
        s.decoded[column] = 1;
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

std::string Cursor::text(std::string_view columnName) const {
    return toText(value(columnName));
}

} // namespace jet
