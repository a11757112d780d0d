// What the dictionary selector's entries stand for: filling it from the catalogue at start-up,
// and what a choice in it does to the keyword list.
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/keyword_rows.h"
#include "store/file_problem.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lookup {

// The selector's first entry, standing for every dictionary.
inline constexpr const char* kAllEntry = "All";

// Whether the selector's text, trimmed, is "All" (same case): the scope of every dictionary.
bool isAllScope(const std::string& selectorText);

struct CatalogueContent {
    std::vector<std::string> dictionaryNames; // selector entries after "All", as stored
    KeywordRows keywords; // every keyword of every dictionary, in order, as stored
};

// The start-up load: the catalogue's names, and the keywords of each name's file (name
// lowered, not trimmed). Missing or unreadable files only leave their keywords out. The files
// are decoded into `cache`, so the searches after start-up find them there.
CatalogueContent loadCatalogue(const std::string& programFolder,
                               DictionaryCache* cache = &sharedDictionaryCache());

// Whether one dictionary of the selector can be read, and how many keywords it holds.
struct DictionaryStatus {
    std::string name; // as given
    std::string path; // its file (the name lowered, not trimmed)
    std::size_t keywordCount = 0;
    std::optional<store::FileProblem> problem; // set when the file cannot be read whole
    std::string reason;                        // then the walk's "<path>: <what happened>"
};

struct SelectionOutcome {
    // When true the keyword list is replaced by `keywords`; otherwise it keeps what it held.
    bool replaceList = false;
    std::vector<std::string> keywords;
    // A name to report as missing after the list has been updated ("" for the catalogue).
    std::optional<std::string> missingDictionary;
    // A chosen dictionary whose file is there but cannot be read; the list keeps what it held.
    std::optional<DictionaryStatus> unreadableDictionary;
};

// The reaction to a choice in the selector. `dictionaryNames` are the entries after "All";
// `chosenText` is the selector's current text.
SelectionOutcome reactToSelection(const std::string& programFolder,
                                  const std::vector<std::string>& dictionaryNames,
                                  const std::string& chosenText);

// The three lines telling the user a dictionary file is missing, separated by carriage returns.
std::string missingDictionaryMessage(const std::string& name);

DictionaryStatus dictionaryStatus(const std::string& programFolder,
                                  const std::string& dictionaryName,
                                  DictionaryCache* cache = &sharedDictionaryCache());

// The lines telling the user a dictionary cannot be read: its name and the problem, the
// engine's reason with the file's path, and what to do.
std::string unreadableDictionaryMessage(const DictionaryStatus& status);

} // namespace lookup
