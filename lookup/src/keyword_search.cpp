#include "lookup/keyword_search.h"

#include "store/program_files.h"
#include "store/record_walk.h"

namespace lookup {

void SearchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(const std::string& keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable) {
    const KeywordMatcher matcher(mode, searchText);
    for (const std::string& name : dictionaryNames) {
        auto problem = store::walkRecords(store::dictionaryPath(programFolder, name), {"Key"},
                                          [&](const store::Record& record) {
                                              if (matcher.Matches(record[0]))
                                                  found(record[0]);
                                              return true;
                                          });
        if (problem && unreadable)
            unreadable(*problem);
    }
}

} // namespace lookup
