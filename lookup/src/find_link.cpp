#include "lookup/find_link.h"

#include "dictionary_walk.h"
#include "lookup/dictionary_selection.h"
#include "store/program_files.h"

namespace lookup {

// Records before any damage count, as in a walk that stops at the first match.
bool findLinkIn(const std::string& programFolder, const std::string& dictionaryName,
                const std::string& term, std::string& address, DictionaryCache* cache) {
    bool found = false;
    walkMatches(store::dictionaryPath(programFolder, dictionaryName),
                KeywordMatcher::wholeKeyword(term), true, cache,
                [&](std::string_view, std::string_view link) {
                    address = link;
                    found = true;
                    return false;
                });
    return found;
}

bool findLink(const std::string& programFolder, const std::vector<std::string>& dictionaryNames,
              const std::string& term, const std::string& choice, std::string& address,
              DictionaryCache* cache) {
    if (!isAllScope(choice))
        return findLinkIn(programFolder, choice, term, address, cache);
    for (const std::string& name : dictionaryNames) {
        if (findLinkIn(programFolder, name, term, address, cache))
            return true;
    }
    return false;
}

} // namespace lookup
