// Which table a command works on: the one named by --table, or the file's only user table.
#pragma once

#include "jet/database.h"

#include <optional>
#include <string>

namespace dict {

// UsageError when the named table is absent, or when none is named and the file holds other
// than exactly one table; the message lists the tables. A damaged file can hide its tables, so
// before blaming the call the file is checked (opened with `password`, or the program's rules
// without one): a fault found raises jet::Error of ErrorKind Corrupt naming it.
std::string chooseTable(const jet::Database& db, const std::optional<std::string>& chosen,
                        const std::string& path, const std::optional<std::string>& password);

} // namespace dict
