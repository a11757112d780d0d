#include "lookup/keywords.h"

#include "dictionary_walk.h"
#include "store/program_files.h"

namespace lookup {

std::string trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool loadKeywords(const std::string& programFolder, const std::string& dictionaryName,
                  std::vector<std::string>& keywords, DictionaryCache* cache) {
    const std::size_t before = keywords.size();
    auto problem = walkMatches(store::dictionaryPath(programFolder, dictionaryName),
                               KeywordMatcher::everyKeyword(), false, cache,
                               [&](std::string_view keyword, std::string_view) {
                                   keywords.emplace_back(keyword);
                                   return true;
                               });
    if (problem) // a file that fails half-way adds nothing
        keywords.resize(before);
    return !problem;
}

std::vector<std::string> loadAllKeywords(const std::string& programFolder,
                                         const std::vector<std::string>& dictionaryNames,
                                         DictionaryCache* cache) {
    std::vector<std::string> keywords;
    for (const std::string& name : dictionaryNames)
        loadKeywords(programFolder, name, keywords, cache);
    return keywords;
}

} // namespace lookup
