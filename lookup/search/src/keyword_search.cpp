#include "lookup/search/keyword_search.h"

#include "lookup/search/dictionary_reader.h"

namespace lookup::search {

void SearchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(const std::string& keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable) {
    const KeywordMatcher matcher(mode, searchText);
    for (const std::string& name : dictionaryNames) {
        auto failure = WalkKeys(programFolder, name, [&](const std::string& key) {
            if (matcher.Matches(key))
                found(key);
        });
        if (failure && unreadable)
            unreadable(*failure);
    }
}

void AllKeywords(const std::string& programFolder, const std::string& dictionaryName,
                 const std::function<void(const std::string& keyword)>& found) {
    WalkKeys(programFolder, dictionaryName, found);
}

} // namespace lookup::search
