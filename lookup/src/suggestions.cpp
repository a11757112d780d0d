#include "lookup/suggestions.h"

#include "dictionary_walk.h"
#include "lookup/dictionary_selection.h"
#include "lookup/keywords.h"
#include "spelling_distance.h"
#include "store/program_files.h"
#include "text/folding.h"
#include "text/utf8.h"

#include <algorithm>
#include <tuple>

namespace lookup {

namespace {

struct Suggestion {
    std::size_t edits = 0;
    bool otherFirstLetter = false;
    std::size_t lengthDifference = 0;
    std::size_t order = 0; // in dictionary order
    std::string keyword;
    std::string lowered;

    bool operator<(const Suggestion& other) const {
        return std::tie(edits, otherFirstLetter, lengthDifference, order) <
               std::tie(other.edits, other.otherFirstLetter, other.lengthDifference, other.order);
    }
};

// The best suggestions so far, in order. A keyword's rank but for its order follows from its
// lowered form, so a later record of a lowered form already kept ranks below it, and one of a
// form pushed out ranks below all that pushed it out: neither is needed.
class BestSuggestions {
public:
    bool full() const { return kept_.size() == kMaxSuggestions; }
    std::size_t worstEdits() const { return kept_.back().edits; }

    void offer(Suggestion suggestion) {
        for (const Suggestion& kept : kept_) {
            if (kept.lowered == suggestion.lowered)
                return;
        }
        kept_.insert(std::upper_bound(kept_.begin(), kept_.end(), suggestion),
                     std::move(suggestion));
        if (kept_.size() > kMaxSuggestions)
            kept_.pop_back();
    }

    std::vector<std::string> keywords() && {
        std::vector<std::string> keywords;
        for (Suggestion& kept : kept_)
            keywords.push_back(std::move(kept.keyword));
        return keywords;
    }

private:
    std::vector<Suggestion> kept_;
};

std::size_t difference(std::size_t a, std::size_t b) {
    return a > b ? a - b : b - a;
}

} // namespace

std::vector<std::string> suggestKeywords(const std::string& programFolder,
                                         const std::vector<std::string>& dictionaryNames,
                                         const std::string& term, const std::string& choice,
                                         DictionaryCache* cache) {
    const std::string trimmed = trimSpaces(term);
    const SpellingDistance spelling(trimmed);
    const std::u32string& folded = spelling.term();
    if (folded.empty())
        return {};
    const std::size_t edits = std::min(kMaxSpellingEdits, folded.size() - 1);
    const KeywordMatcher foundByLookup = KeywordMatcher::wholeKeyword(trimmed);
    const std::vector<std::string> scope =
        isAllScope(choice) ? dictionaryNames : std::vector<std::string>{choice};

    BestSuggestions best;
    std::size_t order = 0;
    for (const std::string& name : scope) {
        // Once the list is full, nothing further than its last can enter it.
        const std::size_t bound = best.full() ? best.worstEdits() : edits;
        walkMatches(store::dictionaryPath(programFolder, name),
                    KeywordMatcher::nearKeyword(trimmed, bound), false, cache,
                    [&](std::string_view keyword, std::string_view) {
                        if (foundByLookup.matches(keyword))
                            return true;
                        const std::u32string letters = text::foldedCharacters(keyword);
                        Suggestion suggestion;
                        suggestion.edits = spelling.within(keyword, bound);
                        suggestion.otherFirstLetter = letters.empty() || letters[0] != folded[0];
                        suggestion.lengthDifference = difference(letters.size(), folded.size());
                        suggestion.order = order++;
                        suggestion.keyword = keyword;
                        suggestion.lowered = text::utf8::toLower(keyword);
                        best.offer(std::move(suggestion));
                        return true;
                    });
    }
    return std::move(best).keywords();
}

} // namespace lookup
