// The one way the program reads a database file: a walk over the records of its table "data",
// in the file's own order, reading the fields it names as text.
//
//   auto problem = store::walkRecords(path, {"Key", "Link"}, [&](const store::Record& r) {
//       show(r[0], r[1]);
//       return true; // false ends the walk early
//   });
//
// The rule for a file that cannot be read whole, the same for every reader: the walk never
// throws for it. A file that is missing, carries another password, is not an Access database,
// is not one of the program's files (no table "data", or a field asked for is not there) or
// turns out to be damaged part-way ends the walk, and the reason comes back as
// "<path>: <what happened>". The records visited before the damage stay visited: a reader that
// must not keep part of a file collects the records first and keeps them only when the walk
// gives no reason.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace store {

class TableWalk;

// The record a walk stands on: the fields it asked for, in the order it named them, as text
// (text as stored, numbers in their plain form, null as "").
class Record {
public:
    const std::string& operator[](std::size_t field) const { return fields_[field]; }

private:
    friend class TableWalk;
    std::vector<std::string> fields_;
};

// Returns false to end the walk.
using RecordVisitor = std::function<bool(const Record&)>;

// Reads the file at `path` with the program's password. Nothing comes back when every record
// was visited or the visitor ended the walk; otherwise the reason (see the rule above).
std::optional<std::string> walkRecords(const std::string& path,
                                       const std::vector<std::string_view>& fields,
                                       const RecordVisitor& visit);

} // namespace store
