// Turning a term into the address of its definition page.
#pragma once

#include "lookup/dictionary_cache.h"

#include <string>
#include <vector>

namespace lookup {

// Looks term up in one dictionary: the Link of the first record whose Key equals the term, case
// ignored, replaces address. Returns true when found. A dictionary that cannot be read finds
// nothing; one damaged part-way finds what comes before the damage. The file comes through
// `cache` (nullptr: read straight, nothing kept).
bool findLinkIn(const std::string& programFolder, const std::string& dictionaryName,
                const std::string& term, std::string& address,
                DictionaryCache* cache = &sharedDictionaryCache());

// With "All" chosen every dictionary in selector order, the first one that holds the term
// wins; otherwise only the chosen one. address keeps what it held when nothing matches.
// dictionaryNames are the selector's entries after "All".
bool findLink(const std::string& programFolder, const std::vector<std::string>& dictionaryNames,
              const std::string& term, const std::string& choice, std::string& address,
              DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
