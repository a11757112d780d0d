#include "lookup/live_search.h"

#include "lookup/dictionary_selection.h"
#include "lookup/keyword_search.h"
#include "lookup/keywords.h"
#include "lookup/suggestions.h"

namespace lookup {

LiveKeywords liveKeywords(const std::string& programFolder,
                          const std::vector<std::string>& dictionaryNames, SearchMode mode,
                          const std::string& searchText, const std::string& choice,
                          DictionaryCache* cache) {
    LiveKeywords live;
    if (mode == SearchMode::Web)
        return live;
    const std::vector<std::string> scope =
        isAllScope(choice) ? dictionaryNames : std::vector<std::string>{choice};
    searchKeywords(
        programFolder, scope, mode, searchTerm(mode, searchText),
        [&live](std::string_view keyword) { live.keywords.push_back(keyword); }, {}, cache);
    if (live.keywords.size() > 0 || searchText.find('*') != std::string::npos)
        return live;
    for (const std::string& keyword :
         suggestKeywords(programFolder, dictionaryNames, searchText, choice, cache))
        live.keywords.push_back(keyword);
    live.suggestions = live.keywords.size() > 0;
    return live;
}

} // namespace lookup
