// The integrity check of a database already read: the writer checks what it is about to change
// without reading the file again.
#pragma once

#include "check/index_entries.h"
#include "jet/check.h"
#include "read/state.h"

#include <string>
#include <vector>

namespace jet::detail {

struct CheckReport {
    std::vector<std::string> faults; // one line each, naming the page or table
    std::vector<KeyDifference> keyDifferences;
    // The pages the file's structures reach: header, maps, catalogue, table definitions, data
    // pages, index trees and long values; indexed by page number.
    std::vector<bool> inUse;
};

CheckReport checkLoadedDatabase(const DatabaseState& db, CheckScope scope = CheckScope::WholeFile);

} // namespace jet::detail
