// Reading the dictionary files and the catalogue through the program's database routines. Each
// call opens its file afresh and lets it go when it returns.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace lookup::search {

// The selector's first entry; the scope of every dictionary.
inline constexpr const char* kAllDictionaries = "All";

// Called per record with its Key and Link, in the order the query returns them; returning false
// ends the walk.
using RecordVisitor = std::function<bool(const std::string& key, const std::string& link)>;

// Walks the dictionary file of name (its name lowered, not trimmed, + ".dll" in folder). An
// empty file visits nothing. Returns the reason when the file cannot be opened or read.
std::optional<std::string> WalkDictionary(const std::string& programFolder,
                                          const std::string& dictionaryName,
                                          const RecordVisitor& visit);

// The same walk reading only each record's Key (what searches need).
std::optional<std::string> WalkKeys(const std::string& programFolder,
                                    const std::string& dictionaryName,
                                    const std::function<void(const std::string& key)>& visit);

// True when the selector text, trimmed, is "All" (same case).
bool IsAllScope(const std::string& selectorText);

} // namespace lookup::search
