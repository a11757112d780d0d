// What the dictionaries in scope hold for a term that the pane shows on a page of its own (a
// term is never opened as a web address): its definition, the keywords that match it and what it
// may have meant.
#pragma once

#include "lookup/dictionary_cache.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lookup {

struct KeywordLink {
    std::string keyword;
    std::string link;
};

// At most this many matches are listed; a term of one letter matches most of a dictionary.
inline constexpr std::size_t kMaxTermMatches = 60;

struct TermFindings {
    // The link of the keyword equal to the term, by findLink's rule.
    std::optional<std::string> definition;
    // The keywords equal to the term (case ignored), then those containing it (as the wildcard
    // search finds them), each keyword once with its first link, in dictionary order.
    std::vector<KeywordLink> matches;
    bool moreMatches = false; // more than kMaxTermMatches matched
    // When no keyword equals the term: suggestKeywords's keywords spelt like it.
    std::vector<std::string> suggestions;
};

// The scope is findLink's: every dictionary of `dictionaryNames` in order when `choice` is
// "All", otherwise the one it names. Unreadable files offer what could be read of them.
TermFindings findTerm(const std::string& programFolder,
                      const std::vector<std::string>& dictionaryNames, const std::string& term,
                      const std::string& choice, DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
