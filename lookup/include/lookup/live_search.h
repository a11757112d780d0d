// What the keyword list shows while the user types, when it follows the typing: what Enter would
// list for the mode and scope, or, when nothing matches, the keywords spelt most like the text,
// marked as suggestions. The web mode lists nothing.
//
// Each text goes through the cache, so a file changed on disk is seen at once. While the files
// stay as they were, a text that only adds to the end of the one before (the usual keystroke)
// is matched against the keywords that text matched, not against every keyword: a keyword that
// begins with "ora" or holds "ra*th" is among those that begin with "or" or hold "ra*t".
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/keyword_rows.h"
#include "lookup/matching.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace lookup {

struct LiveKeywords {
    KeywordRows keywords;     // the cache's own keywords, as stored
    bool suggestions = false; // the keywords are suggestions for a text that matches nothing
};

// One per list: it remembers the last text's matches. Not for two threads at once.
class LiveSearch {
public:
    explicit LiveSearch(DictionaryCache* cache = &sharedDictionaryCache()) : cache_(cache) {}

    // Exact mode: the keywords beginning with the trimmed text; wildcard mode: those holding the
    // pattern of the text as typed; in record order, duplicates kept. The scope is the search's:
    // every dictionary of `dictionaryNames` when `choice` is "All", otherwise the one it names.
    // A text that is blank or holds "*" is offered no suggestions.
    LiveKeywords next(const std::string& programFolder,
                      const std::vector<std::string>& dictionaryNames, SearchMode mode,
                      const std::string& searchText, const std::string& choice);

private:
    struct Matches {
        SearchMode mode = SearchMode::Exact;
        std::string term; // lowered, as matched
        std::vector<std::string> paths;
        std::vector<std::shared_ptr<const DictionaryContent>> contents;
        // per file, the matching records, shared with the rows listed
        std::vector<std::shared_ptr<const std::vector<std::uint32_t>>> picks;
    };

    DictionaryCache* cache_;
    std::optional<Matches> last_;
};

} // namespace lookup
