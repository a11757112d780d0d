// How a keyword is compared with what the user typed. Keyword and term are lowered with one and
// the same Unicode conversion.
#pragma once

#include <string>
#include <string_view>

namespace lookup {

enum class SearchMode { Exact, Wildcard, Web };

// The wildcard pattern of a search text: the text lowered, not trimmed, every character kept in
// order. A "*" stays in the pattern and stands for any run of characters, none included.
std::string BuildPattern(std::string_view text);

// What a search matches with: exact mode the trimmed text, wildcard mode the text as typed
// (spaces at its ends belong to the pattern).
std::string SearchTerm(SearchMode mode, std::string_view searchText);

// Exact mode: the keyword begins with the term, case ignored.
bool MatchesPrefix(std::string_view keyword, std::string_view term);
// Wildcard mode: the pattern occurs as one piece of the lowered keyword. An empty keyword
// never matches.
bool MatchesPattern(std::string_view keyword, std::string_view pattern);
// Lookup: keyword and term are equal, case ignored; nothing is trimmed.
bool KeyEquals(std::string_view keyword, std::string_view term);

// The same rules with the term or pattern lowered once, for walking many keywords.
class KeywordMatcher {
public:
    KeywordMatcher(SearchMode mode, std::string_view searchText);
    bool Matches(std::string_view keyword) const;

private:
    SearchMode mode_;
    std::string lowered_; // the lowered term (exact) or the pattern (wildcard)
};

} // namespace lookup
