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

void Recordset::AddNew() {
    cursor();
    adding_ = true;
    newRow_.clear();
}

void Recordset::SetField(std::string_view columnName, std::string value) {
    cursor();
    if (!adding_)
        throw jet::Error(jet::ErrorKind::Invalid, "a field can be set only on a row being added");
    if (table_->columnIndex(columnName) < 0)
        throw jet::Error(jet::ErrorKind::NotFound, "table \"" + table_->name() +
                                                       "\" has no column \"" +
                                                       std::string(columnName) + "\"");
    for (auto& [name, field] : newRow_) {
        if (table_->columnIndex(name) == table_->columnIndex(columnName)) {
            field = std::move(value);
            return;
        }
    }
    newRow_.emplace_back(std::string(columnName), std::move(value));
}

void Recordset::Update() {
    cursor();
    if (!adding_)
        throw jet::Error(jet::ErrorKind::Invalid, "Update without AddNew");
    jet::RowValues row = std::move(newRow_);
    newRow_.clear();
    adding_ = false;
    const std::string tableName = table_->name();
    try {
        if (!writer_)
            writer_.emplace(jet::WriteSession::open(path_, password_));
        writer_->appendRow(tableName, row);
        writer_->commit();
    } catch (...) {
        // After a failed commit the session holds a row the file lacks: start again from the file.
        writer_.reset();
        throw;
    }
    ShowTable(writer_->database().table(tableName));
    for (std::uint64_t i = 1; i < cursor_->recordCount(); ++i)
        cursor_->moveNext();
}

void Recordset::OpenTable(const jet::Database& database, std::string_view tableName,
                          std::string_view password) {
    Close();
    ShowTable(database.table(tableName));
    path_ = database.path();
    password_ = std::string(password);
}

void Recordset::ShowTable(jet::Table table) {
    jet::Cursor rows = table.cursor();
    rows.moveFirst();
    table_.emplace(std::move(table));
    cursor_.emplace(std::move(rows));
}

void Recordset::Close() {
    cursor_.reset();
    table_.reset();
    writer_.reset();
    adding_ = false;
    newRow_.clear();
    path_.clear();
    password_.clear();
}

const jet::Cursor& Recordset::cursor() const {
    if (!cursor_)
        throw jet::Error(jet::ErrorKind::Invalid, "the record set is not open");
    return *cursor_;
}
