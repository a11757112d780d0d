// The catalogue file lists the installed dictionaries: one record per dictionary, its display
// name in field `names`.
#pragma once

#include <string>
#include <vector>

namespace store {

struct CatalogueNames {
    // Every `names` value that is not empty, in record order, exactly as stored.
    std::vector<std::string> names;
    // Why the walk stopped early ("" when it read the whole file); the names read before the
    // failure are kept.
    std::string problem;
};

CatalogueNames readCatalogue(const std::string& programFolder);

} // namespace store
