#include "lookup/term_findings.h"

#include "dictionary_walk.h"
#include "lookup/dictionary_selection.h"
#include "lookup/find_link.h"
#include "lookup/suggestions.h"
#include "store/program_files.h"
#include "text/utf8.h"

#include <unordered_set>

namespace lookup {

TermFindings findTerm(const std::string& programFolder,
                      const std::vector<std::string>& dictionaryNames, const std::string& term,
                      const std::string& choice, DictionaryCache* cache) {
    TermFindings findings;
    std::string link;
    if (findLink(programFolder, dictionaryNames, term, choice, link, cache))
        findings.definition = link;
    else
        findings.suggestions = suggestKeywords(programFolder, dictionaryNames, term, choice, cache);

    const std::string lowered = text::utf8::toLower(term);
    std::vector<KeywordLink> equal;
    std::vector<KeywordLink> containing;
    std::unordered_set<std::string> seen;
    const KeywordMatcher matcher(SearchMode::Wildcard, term);
    const std::vector<std::string> scope =
        isAllScope(choice) ? dictionaryNames : std::vector<std::string>{choice};
    for (const std::string& name : scope) {
        walkMatches(store::dictionaryPath(programFolder, name), matcher, true, cache,
                    [&](std::string_view keyword, std::string_view keywordLink) {
                        if (!seen.emplace(keyword).second)
                            return true;
                        auto& into = text::utf8::toLower(keyword) == lowered ? equal : containing;
                        into.push_back({std::string(keyword), std::string(keywordLink)});
                        return true;
                    });
    }
    findings.matches = std::move(equal);
    findings.matches.insert(findings.matches.end(), containing.begin(), containing.end());
    if (findings.matches.size() > kMaxTermMatches) {
        findings.matches.resize(kMaxTermMatches);
        findings.moreMatches = true;
    }
    return findings;
}

} // namespace lookup
