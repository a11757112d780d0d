// What a term that matches nothing may have meant: the keywords spelt most like it.
#pragma once

#include "lookup/dictionary_cache.h"

#include <cstddef>
#include <string>
#include <vector>

namespace lookup {

inline constexpr std::size_t kMaxSuggestions = 10;

// The keywords at most two edits from `term` (trimmed of spaces), best first, at most
// kMaxSuggestions of them. An edit is an insertion, a deletion or a substitution of one
// character or a swap of two neighbours, no character edited twice, counted once letter case and
// Latin accents are folded on both sides (text/folding.h); a term is never edited away
// entirely, so a term of one character is only offered keywords differing from it in accents,
// and one of two only those one edit away. A keyword that a lookup of the term finds (equal to
// it, case ignored) is no suggestion; one that differs from it only in accents is at no edits
// and comes first.
//
// Order: fewer edits first; then keywords beginning with the term's first letter (folded); then
// those nearer the term's length; then dictionary order (selector order, then record order). A
// keyword is listed once, as stored where that order first meets it, however many records hold
// it in whatever letter case.
//
// The scope is findLink's: with "All" chosen every dictionary of `dictionaryNames` in order,
// otherwise the one named by `choice`. A dictionary that cannot be read offers what comes
// before its problem. Files come through `cache` (nullptr: each file read straight, once, and
// nothing kept).
std::vector<std::string> suggestKeywords(const std::string& programFolder,
                                         const std::vector<std::string>& dictionaryNames,
                                         const std::string& term, const std::string& choice,
                                         DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
