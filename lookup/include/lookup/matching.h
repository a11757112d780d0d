// How a keyword is compared with what the user typed. Keyword and term are lowered with one and
// the same Unicode conversion (and folded with one, text/folding.h, when spellings are
// compared).
#pragma once

#include "lookup/packed_texts.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

enum class SearchMode { Exact, Wildcard, Web };

class SpellingDistance;

// The wildcard pattern of a search text: the text lowered, not trimmed, every character kept in
// order. A "*" stays in the pattern and stands for any run of characters, none included.
std::string buildPattern(std::string_view text);

// What a search matches with: exact mode the trimmed text, wildcard mode the text as typed
// (spaces at its ends belong to the pattern).
std::string searchTerm(SearchMode mode, std::string_view searchText);

// Appends the text lowered as text::utf8::toLower lowers it, without a new string per call: the
// hot path of decoding a million keywords. Stops once `enough` bytes are appended (or a
// character later).
void appendLowered(std::string_view text, std::string& out, std::size_t enough = std::string::npos);

// The rules a keyword is matched by, with the term lowered (and the pattern split) once, for
// walking many keywords:
//  - exact mode (and web mode): the keyword begins with the term, case ignored;
//  - wildcard mode: the pattern occurs as one piece of the lowered keyword; an empty keyword
//    never matches;
//  - a lookup: keyword and term are equal, case ignored; nothing is trimmed;
//  - a spelling: the keyword is at most `edits` edits from the term (at most two; insertions,
//    deletions, substitutions, swaps of neighbours), letter case and Latin accents folded.
class KeywordMatcher {
public:
    KeywordMatcher(SearchMode mode, std::string_view searchText);
    static KeywordMatcher wholeKeyword(std::string_view term) { return {Rule::Whole, term}; }
    static KeywordMatcher everyKeyword() { return {Rule::Prefix, ""}; }
    static KeywordMatcher nearKeyword(std::string_view term, std::size_t edits);

    // Lowers the keyword into a buffer of the matcher's own: one matcher per thread.
    bool matches(std::string_view keyword) const;
    // The same for a keyword already lowered (appendLowered), as the cache keeps them.
    bool matchesLowered(std::string_view loweredKeyword) const;
    // The same for one of many lowered keywords packed together, matched where it lies.
    bool matchesLowered(const PackedTexts& loweredKeywords, std::size_t i) const;
    // Calls found with the index of every lowered keyword that matches, in order, until found
    // returns false.
    void forEachMatch(const PackedTexts& loweredKeywords,
                      const std::function<bool(std::size_t)>& found) const;
    // The index of every lowered keyword that matches, in order.
    std::vector<std::uint32_t> allMatches(const PackedTexts& loweredKeywords) const;

private:
    enum class Rule { Prefix, Pattern, Whole, Near };
    KeywordMatcher(Rule rule, std::string_view text);
    template <class Found> void eachMatch(const PackedTexts& lowered, Found& found) const;
    template <class Found> void eachPatternMatch(const PackedTexts& lowered, Found& found) const;
    template <class Found> void eachNearMatch(const PackedTexts& lowered, Found& found) const;

    Rule rule_;
    std::string lowered_;             // the lowered term or pattern
    std::vector<std::string> pieces_; // the pattern's non-empty pieces between stars, in order
    std::shared_ptr<const SpellingDistance> spelling_; // the term of a spelling, prepared
    std::size_t edits_ = 0;
    mutable std::string scratch_;
};

} // namespace lookup
