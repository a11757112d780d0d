// How a keyword is compared with what the user typed. Keyword and term are lowered with one and
// the same Unicode conversion.
#pragma once

#include "lookup/packed_texts.h"

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

enum class SearchMode { Exact, Wildcard, Web };

// The wildcard pattern of a search text: the text lowered, not trimmed, every character kept in
// order. A "*" stays in the pattern and stands for any run of characters, none included.
std::string buildPattern(std::string_view text);

// What a search matches with: exact mode the trimmed text, wildcard mode the text as typed
// (spaces at its ends belong to the pattern).
std::string searchTerm(SearchMode mode, std::string_view searchText);

// Appends the text lowered as the engine's UTF-8 module lowers it, without a new string per
// call: the hot path of decoding a million keywords. Stops once `enough` bytes are appended (or
// a character later).
void appendLowered(std::string_view text, std::string& out, std::size_t enough = std::string::npos);

// Exact mode: the keyword begins with the term, case ignored.
bool matchesPrefix(std::string_view keyword, std::string_view term);
// Wildcard mode: the pattern occurs as one piece of the lowered keyword. An empty keyword
// never matches.
bool matchesPattern(std::string_view keyword, std::string_view pattern);
// Lookup: keyword and term are equal, case ignored; nothing is trimmed.
bool keyEquals(std::string_view keyword, std::string_view term);

// The same rules with the term or pattern lowered and split once, for walking many keywords.
class KeywordMatcher {
public:
    KeywordMatcher(SearchMode mode, std::string_view searchText);

    // Lowers the keyword into a buffer of the matcher's own: one matcher per thread.
    bool matches(std::string_view keyword) const;
    bool matchesLowered(std::string_view loweredKeyword) const;
    // Calls found with the index of every lowered keyword that matches, in order.
    void forEachMatch(const PackedTexts& loweredKeywords,
                      const std::function<void(std::size_t)>& found) const;

private:
    void eachWildcardMatch(const PackedTexts& lowered,
                           const std::function<void(std::size_t)>& found) const;

    SearchMode mode_;
    std::string lowered_;             // the lowered term (exact) or the pattern (wildcard)
    std::vector<std::string> pieces_; // the pattern's non-empty pieces between stars, in order
    mutable std::string scratch_;
};

} // namespace lookup
