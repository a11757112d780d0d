// The rows of one table, walked in the file's order, with fields read as text.
#pragma once

#include "jet/database.h"

#include <cstdint>
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

    // Replaces what the handle held with the rows of one table, positioned on the first row.
    // Rows will be added through AddNew/Update on the same table once the engine writes.
    void OpenTable(const jet::Database& database, std::string_view tableName);
    void Close();

private:
    const jet::Cursor& cursor() const;

    std::optional<jet::Table> table_;
    std::optional<jet::Cursor> cursor_;
};
