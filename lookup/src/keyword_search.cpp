#include "lookup/keyword_search.h"

#include "store/program_files.h"
#include "store/record_walk.h"

namespace lookup {

namespace {

std::optional<std::string> searchFile(const std::string& path, const KeywordMatcher& matcher,
                                      const std::function<void(std::string_view)>& found,
                                      DictionaryCache* cache) {
    if (!cache) {
        return store::walkRecords(path, {"Key"}, [&](const store::Record& record) {
            if (matcher.matches(record[0]))
                found(record[0]);
            return true;
        });
    }
    DictionaryReading reading = cache->read(path, false);
    const DictionaryContent& content = *reading.content;
    matcher.forEachMatch(content.loweredKeys, [&](std::size_t i) { found(content.keys[i]); });
    return reading.problem;
}

} // namespace

void searchKeywords(const std::string& programFolder,
                    const std::vector<std::string>& dictionaryNames, SearchMode mode,
                    const std::string& searchText,
                    const std::function<void(std::string_view keyword)>& found,
                    const std::function<void(const std::string& reason)>& unreadable,
                    DictionaryCache* cache) {
    const KeywordMatcher matcher(mode, searchText);
    for (const std::string& name : dictionaryNames) {
        auto problem =
            searchFile(store::dictionaryPath(programFolder, name), matcher, found, cache);
        if (problem && unreadable)
            unreadable(*problem);
    }
}

} // namespace lookup
