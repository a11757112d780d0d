// Loading the keywords of dictionaries from their files in the program folder.
#pragma once

#include "lookup/dictionary_cache.h"

#include <string>
#include <string_view>
#include <vector>

namespace lookup {

// The text with the space characters at both ends removed (tabs and other blanks are kept).
std::string trimSpaces(std::string_view text);

// Appends the `Key` of every record of one dictionary (the file named after the name in lower
// case, not trimmed), in record order. A file that is missing, not a database, carries another
// password, is not a dictionary file or is damaged appends nothing and gives false; it never
// throws. The file comes through `cache` (nullptr: read straight, nothing kept).
bool loadKeywords(const std::string& programFolder, const std::string& dictionaryName,
                  std::vector<std::string>& keywords,
                  DictionaryCache* cache = &sharedDictionaryCache());

// The keywords of every named dictionary, dictionary after dictionary. Files that cannot be
// read are skipped.
std::vector<std::string> loadAllKeywords(const std::string& programFolder,
                                         const std::vector<std::string>& dictionaryNames,
                                         DictionaryCache* cache = &sharedDictionaryCache());

} // namespace lookup
