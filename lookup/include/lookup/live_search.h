// What the keyword list shows while the user types, when it follows the typing: what Enter would
// list for the mode and scope, or, when nothing matches, the keywords spelt most like the text,
// marked as suggestions. The web mode lists nothing. Safe to run off the user-interface thread
// (the cache is shared under its own lock).
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/matching.h"
#include "lookup/packed_texts.h"

#include <string>
#include <vector>

namespace lookup {

struct LiveKeywords {
    PackedTexts keywords;
    bool suggestions = false; // the keywords are suggestions for a text that matches nothing
};

// Exact mode: the keywords beginning with the trimmed text; wildcard mode: those holding the
// pattern of the text as typed; in record order, duplicates kept. The scope is the search's:
// every dictionary of `dictionaryNames` when `choice` is "All", otherwise the one it names.
// A text of spaces alone, or one holding "*", is offered no suggestions.
LiveKeywords liveKeywords(const std::string& programFolder,
                          const std::vector<std::string>& dictionaryNames, SearchMode mode,
                          const std::string& searchText, const std::string& choice,
                          DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
