#include "lookup/keyword_search.h"

#include "dictionary_walk.h"
#include "store/program_files.h"

namespace lookup {

void searchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(std::string_view keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable,
                    DictionaryCache* cache) {
    const KeywordMatcher matcher(mode, searchText);
    for (const std::string& name : dictionaryNames) {
        auto problem = walkMatches(store::dictionaryPath(programFolder, name), matcher, false,
                                   cache, [&](std::string_view keyword, std::string_view) {
                                       found(keyword);
                                       return true;
                                   });
        if (problem && unreadable)
            unreadable(*problem);
    }
}

} // namespace lookup
