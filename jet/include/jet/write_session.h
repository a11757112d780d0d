// Appending rows to the tables of an existing database, committed atomically.
//
//   jet::WriteSession s = jet::WriteSession::open("words.mdb", "secret");
//   s.appendRow("data", {{"Key", std::string("Fehu")}, {"Link", std::string("https://...")}});
//   s.commit(); // the file now holds the new rows; before this it is untouched
#pragma once

#include "jet/database.h"

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace jet {

struct WriteSessionState;

using RowValues = std::vector<std::pair<std::string, Value>>;

class WriteSession {
public:
    // Opens the database for appending; it keeps in memory only the pages it changes or adds. The
    // password is checked as by Database::open. A file that fails the integrity check
    // (jet/check.h) is refused with ErrorKind Corrupt naming the first fault: appending to it
    // would make it worse.
    static WriteSession open(const std::filesystem::path& path, std::string_view password = {});

    // The database as this session has changed it. Handles taken from it see the rows appended
    // before they were taken; a cursor used after a further append raises ErrorKind Invalid, so
    // take new handles after appending.
    Database database() const;

    // Appends one row. Columns are matched by name, ignoring case; columns left out are null,
    // and an autonumber column left out takes the next number. Every index of the table gets
    // the row's entry. Refused (ErrorKind Invalid), changing nothing: unknown columns, values
    // that do not fit, a duplicate key in a unique index or the primary key, a missing
    // primary-key value, an index whose text sort order has no keys here (named).
    void appendRow(std::string_view table, const RowValues& values);

    std::uint64_t appendedRows() const;

    // Writes the changed database over the file atomically: after a failure (ErrorKind Io) the
    // file is as it was. Does nothing when nothing was appended. The session stays usable.
    // Refused (ErrorKind Io, nothing written) when the path no longer names the file as this
    // session read it, or last wrote it: another program has replaced or changed it.
    void commit();

    // Writes the changed database, whether or not anything was appended, to `target` atomically
    // (a new file, or one replaced whole); the file the session was read from is left as it was.
    void commitAs(const std::filesystem::path& target);

private:
    explicit WriteSession(std::shared_ptr<WriteSessionState> state);
    std::shared_ptr<WriteSessionState> state_;
};

} // namespace jet
