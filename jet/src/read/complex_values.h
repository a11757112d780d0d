// Complex columns (Access 2007 and later). A complex field holds a key; the rows of a hidden
// "flat" table that carry that key are what a user sees in the field: attachments, the values of
// a multi-value field, or the earlier texts of an append-only memo. The system table
// MSysComplexColumns names, for each complex column's id, the table whose columns tell the kind
// (ComplexTypeObjectID) and the flat table holding the rows (FlatTableID).
#pragma once

#include "jet/value.h"
#include "read/table_def.h"

#include <cstdint>
#include <unordered_map>

namespace jet {
struct DatabaseState;
}

namespace jet::detail {

class ComplexColumnValues {
public:
    // Reads every value of column `column` of `table` at once. ErrorKind Corrupt when the file
    // does not describe the column or its rows are damaged.
    static ComplexColumnValues read(const DatabaseState& db, const TableDef& table,
                                    std::size_t column);

    // The field whose stored key is `key` (no rows: an empty value of the column's kind).
    ComplexValue valueOf(std::int64_t key) const;

private:
    ComplexKind kind_ = ComplexKind::Unknown;
    std::unordered_map<std::int64_t, ComplexValue> byKey_;
};

// The bytes of a file kept in an attachment: the stored data starts with its kind (0 as is,
// 1 deflated) and length, then a header giving the file's extension; `where` names errors.
Bytes attachmentBytes(const Bytes& stored, const std::string& where);

} // namespace jet::detail
