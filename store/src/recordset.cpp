#include "store/recordset.h"

#include <string>

std::int64_t Recordset::RecordCount() const {
    return static_cast<std::int64_t>(cursor().recordCount());
}

void Recordset::MoveFirst() {
    cursor();
    cursor_->moveFirst();
}

void Recordset::MoveNext() {
    cursor();
    cursor_->moveNext();
}

bool Recordset::IsEOF() const {
    return cursor().eof();
}

std::string Recordset::Fields(std::string_view columnName) const {
    const jet::Cursor& rows = cursor();
    if (table_->columnIndex(columnName) < 0)
        throw jet::Error(jet::ErrorKind::NotFound, "table \"" + table_->name() +
                                                       "\" has no column \"" +
                                                       std::string(columnName) + "\"");
    return rows.text(columnName);
}

const jet::Table& Recordset::Table() const {
    cursor();
    return *table_;
}

void Recordset::OpenTable(const jet::Database& database, std::string_view tableName) {
    Close();
    jet::Table table = database.table(tableName);
    jet::Cursor rows = table.cursor();
    rows.moveFirst();
    table_.emplace(std::move(table));
    cursor_.emplace(std::move(rows));
}

void Recordset::Close() {
    cursor_.reset();
    table_.reset();
}

const jet::Cursor& Recordset::cursor() const {
    if (!cursor_)
        throw jet::Error(jet::ErrorKind::Invalid, "the record set is not open");
    return *cursor_;
}
