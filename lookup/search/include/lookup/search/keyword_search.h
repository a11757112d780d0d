// The keywords of one or more dictionaries that match a search text.
#pragma once

#include "lookup/search/matching.h"

#include <functional>
#include <string>
#include <vector>

namespace lookup::search {

// Walks the dictionaries in the order given and calls found with every Key that matches under
// the mode's rule (exact or wildcard), in record order, duplicates kept. A dictionary that
// cannot be read contributes nothing; unreadable, when given, hears of it.
void SearchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(const std::string& keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable = {});

// Every Key of one dictionary, in record order (what loading a dictionary into the list adds).
void AllKeywords(const std::string& programFolder, const std::string& dictionaryName,
                 const std::function<void(const std::string& keyword)>& found);

} // namespace lookup::search
