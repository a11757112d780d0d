// The one walk every lookup takes over a dictionary file: the records whose keys a matcher picks,
// in record order, either through a cache of decoded files (the program's windows, which search
// the same files again and again) or straight from the file with nothing kept (a one-off reader
// such as augurlex-dict: little memory, and a lookup stops at its match).
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/matching.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace lookup {

// A record whose key matched, with its link ("" unless links were asked for). Returns false to
// end the walk.
using MatchVisitor = std::function<bool(std::string_view key, std::string_view link)>;

// `cache` nullptr: straight from the file. Returns the reason when the file could not be read
// whole (record_walk.h's rule); the records before the damage are visited either way.
std::optional<std::string> walkMatches(const std::string& path, const KeywordMatcher& matcher,
                                       bool withLinks, DictionaryCache* cache,
                                       const MatchVisitor& visit);

} // namespace lookup
