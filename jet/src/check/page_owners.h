// Who the pages of a file belong to, where a page does not name its table itself (later pages of
// a table definition, long-value pages, usage map pages), and whose usage map each map row is:
// read once from the catalogue and the definitions of the tables it lists. Damage is noted, not
// raised, so that a damaged file can still be described page by page.
#pragma once

#include "read/state.h"

#include <cstdint>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

namespace jet::detail {

struct MapOwner {
    std::string what;            // "the owned pages of table \"t\""
    std::uint32_t tablePage = 0; // 0: the database's own map of free pages
};

struct MapPageOwner {
    MapOwner map;
    std::uint64_t firstPage = 0; // the page its first bit stands for
};

struct PageOwners {
    std::map<std::uint32_t, std::string> tableNames; // by first definition page
    // Table (by first definition page) of the pages that do not name it: every definition page
    // (a first one names itself), long-value pages and usage map pages.
    std::unordered_map<std::uint32_t, std::uint32_t> tableOf;
    std::unordered_map<std::uint32_t, MapOwner> mapRows; // by row pointer
    std::unordered_map<std::uint32_t, MapPageOwner> mapPages;
    std::vector<bool> listedFree; // by page: in the database's map of free pages
    bool catalogueRead = false;   // its rows could be read, so tableNames lists every table
    std::vector<std::string> faults;
};

PageOwners readPageOwners(const DatabaseState& db);

} // namespace jet::detail
