// What the dictionary selector's entries stand for: filling it from the catalogue at start-up,
// and what a choice in it does to the keyword list.
#pragma once

#include "lookup/dictionary_cache.h"

#include <optional>
#include <string>
#include <vector>

namespace lookup {

// The selector's first entry, standing for every dictionary.
inline constexpr const char* kAllEntry = "All";

// Whether the selector's text, trimmed, is "All" (same case): the scope of every dictionary.
bool isAllScope(const std::string& selectorText);

struct CatalogueContent {
    std::vector<std::string> dictionaryNames; // selector entries after "All", as stored
    std::vector<std::string> keywords;        // every keyword of every dictionary, in order
};

// The start-up load: the catalogue's names, and the keywords of each name's file (name
// lowered, not trimmed). Missing or unreadable files only leave their keywords out. The files
// are decoded into `cache`, so the searches after start-up find them there.
CatalogueContent loadCatalogue(const std::string& programFolder,
                               DictionaryCache* cache = &sharedDictionaryCache());

struct SelectionOutcome {
    // When true the keyword list is replaced by `keywords`; otherwise it keeps what it held.
    bool replaceList = false;
    std::vector<std::string> keywords;
    // A name to report as missing after the list has been updated ("" for the catalogue).
    std::optional<std::string> missingDictionary;
};

// The reaction to a choice in the selector. `dictionaryNames` are the entries after "All";
// `chosenText` is the selector's current text.
SelectionOutcome reactToSelection(const std::string& programFolder,
                                  const std::vector<std::string>& dictionaryNames,
                                  const std::string& chosenText);

// The three lines telling the user a dictionary file is missing, separated by carriage returns.
std::string missingDictionaryMessage(const std::string& name);

} // namespace lookup
