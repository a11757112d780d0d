// The catalogue file lists the installed dictionaries: one record per dictionary in table
// `data`, its display name in field `names`.
#pragma once

#include <string>
#include <vector>

namespace store {

struct CatalogueNames {
    // Every non-empty `names` value in record order, exactly as stored (case and spaces kept).
    std::vector<std::string> names;
    // Why the walk stopped early ("" when every record was read); the names read before the
    // failure are kept.
    std::string error;
};

// Reads the catalogue of the program folder. A missing, foreign or damaged file gives the
// names read so far and the reason; it never throws.
CatalogueNames ReadCatalogue(const std::string& programFolder);

// Whether the catalogue file, or a dictionary's file (name lowered, not trimmed), is an
// ordinary file in the program folder.
bool CatalogueExists(const std::string& programFolder);
bool DictionaryExists(const std::string& programFolder, const std::string& dictionaryName);

} // namespace store
