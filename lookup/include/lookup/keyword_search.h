// The keywords of one or more dictionaries that match a search text.
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/matching.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// Walks the dictionaries in the order given and calls found with every Key that matches under
// the mode's rule (exact or wildcard), in record order, duplicates kept. A dictionary that
// cannot be read contributes what was read of it before the problem; unreadable, when given,
// hears the reason. Files come through `cache` (nullptr: each file read straight, nothing kept,
// for a one-off search).
void searchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(std::string_view keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable = {},
                    DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
