// The walk over table "data" of a database already open: a file opened for the walk, or one
// held in memory for appending.
#pragma once

#include "jet/database.h"
#include "store/record_walk.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class TableWalk {
public:
    // Finds the table and each field; jet::Error when one is not there.
    TableWalk(const jet::Database& database, const std::vector<std::string_view>& fields);

    // Visits the records, record-count times from the first; jet::Error for damage found on
    // the way (the records before it stay visited).
    void run(const RecordVisitor& visit);

private:
    jet::Table table_;
    std::vector<std::size_t> columns_;
    Record record_;
};

// Opens the table and walks it under the rule of record_walk.h: an engine error becomes the
// reason "<path>: <what>".
std::optional<std::string> walkDatabase(const jet::Database& database, const std::string& path,
                                        const std::vector<std::string_view>& fields,
                                        const RecordVisitor& visit);

} // namespace store
