#include "lookup/matching.h"

#include "jet/utf8.h"
#include "lookup/keywords.h"

namespace lookup {

namespace {

std::string lower(std::string_view text) {
    return jet::utf8::toLower(text);
}

// Each "*"-free piece must follow the one before it; the ends are free, so the first hit of
// each piece is as good as any later one.
bool containsPattern(std::string_view text, std::string_view pattern) {
    std::size_t from = 0;
    std::size_t piece = 0;
    while (piece <= pattern.size()) {
        std::size_t star = pattern.find('*', piece);
        if (star == std::string_view::npos)
            star = pattern.size();
        std::string_view part = pattern.substr(piece, star - piece);
        if (!part.empty()) {
            std::size_t at = text.find(part, from);
            if (at == std::string_view::npos)
                return false;
            from = at + part.size();
        }
        piece = star + 1;
    }
    return true;
}

} // namespace

std::string SearchTerm(SearchMode mode, std::string_view searchText) {
    return mode == SearchMode::Wildcard ? std::string(searchText) : TrimSpaces(searchText);
}

std::string BuildPattern(std::string_view text) {
    return lower(text);
}

bool MatchesPrefix(std::string_view keyword, std::string_view term) {
    return KeywordMatcher(SearchMode::Exact, term).Matches(keyword);
}

bool MatchesPattern(std::string_view keyword, std::string_view pattern) {
    return !keyword.empty() && containsPattern(lower(keyword), pattern);
}

bool KeyEquals(std::string_view keyword, std::string_view term) {
    return lower(keyword) == lower(term);
}

KeywordMatcher::KeywordMatcher(SearchMode mode, std::string_view searchText)
    : mode_(mode),
      lowered_(mode == SearchMode::Wildcard ? BuildPattern(searchText) : lower(searchText)) {}

bool KeywordMatcher::Matches(std::string_view keyword) const {
    if (mode_ == SearchMode::Wildcard)
        return !keyword.empty() && containsPattern(lower(keyword), lowered_);
    // Lowering maps each character to one character and UTF-8 is prefix-free, so a byte prefix
    // of the lowered keyword is a prefix of its first characters.
    return lower(keyword).starts_with(lowered_);
}

} // namespace lookup
