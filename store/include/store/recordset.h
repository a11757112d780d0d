// The rows of one table, walked in the file's order, with fields read as text.
#pragma once

#include "jet/database.h"
#include "jet/write_session.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

class Recordset {
public:
    bool IsOpen() const { return cursor_.has_value(); }
    // Rows in the set, known before the walk.
    std::int64_t RecordCount() const;
    // Both leave the set at its end (IsEOF) when there is no further row.
    void MoveFirst();
    void MoveNext();
    bool IsEOF() const;

    // The current row's field as text (null gives ""); jet::Error(NotFound) for an unknown
    // column, jet::Error(Invalid) when there is no current row.
    std::string Fields(std::string_view columnName) const;
    std::string operator[](std::string_view columnName) const { return Fields(columnName); }
    const jet::Table& Table() const;

    // Adding a row: AddNew starts an empty one, SetField fills its fields by name (columns
    // left out stay null), Update saves it to the file at once and makes it the current row,
    // the set's last. A refused or unsaved row leaves the file as it was and is dropped.
    // The file is reopened with `password` for writing; other handles on the same file see
    // the row only once they are opened again.
    void AddNew();
    void SetField(std::string_view columnName, std::string value);
    void Update();
    bool IsAdding() const { return adding_; }

    // Replaces what the handle held with the rows of one table, positioned on the first row.
    // `password` is the one rows added through this handle are written with.
    void OpenTable(const jet::Database& database, std::string_view tableName,
                   std::string_view password = {});
    void Close();

private:
    const jet::Cursor& cursor() const;
    void ShowTable(jet::Table table);

    std::optional<jet::Table> table_;
    std::optional<jet::Cursor> cursor_;
    std::filesystem::path path_;
    std::string password_;
    std::optional<jet::WriteSession> writer_;
    bool adding_ = false;
    jet::RowValues newRow_;
};
