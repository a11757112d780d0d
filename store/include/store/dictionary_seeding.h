// Filling the user's dictionary folder from the installed files without ever replacing a file
// the user already has: the user's files hold the user's merged updates.
#pragma once

#include <string>
#include <vector>

namespace store {

struct SeedReport {
    std::vector<std::string> copied; // file names, in the order they were written
    std::vector<std::string> listed; // dictionary names added to the user's catalogue
    std::vector<std::string> problems;
};

// Under the folder's write lock, with `to` created if missing:
//  - the template and each dictionary of the installed catalogue are copied when `to` has no
//    file of that name;
//  - the catalogue is copied whole when `to` has none (after the dictionaries it lists);
//    otherwise each dictionary copied just now is appended to the user's catalogue unless the
//    catalogue already lists it, so a dictionary new in an installed version shows up while
//    the user's own list and rows stay.
// Every copy replaces nothing and appears whole or not at all. A failure is reported and the
// rest goes on.
SeedReport seedDictionaryFolder(const std::string& installedFolder, const std::string& to);

} // namespace store
