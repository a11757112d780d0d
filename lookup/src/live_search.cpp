#include "lookup/live_search.h"

#include "lookup/dictionary_selection.h"
#include "lookup/keywords.h"
#include "lookup/suggestions.h"
#include "store/program_files.h"

namespace lookup {

LiveKeywords LiveSearch::next(const std::string& programFolder,
                              const std::vector<std::string>& dictionaryNames, SearchMode mode,
                              const std::string& searchText, const std::string& choice) {
    LiveKeywords live;
    if (mode == SearchMode::Web || trimSpaces(searchText).empty()) {
        last_.reset();
        return live;
    }
    Matches now;
    now.mode = mode;
    const std::string term = searchTerm(mode, searchText);
    now.term = buildPattern(term);
    for (const std::string& name :
         isAllScope(choice) ? dictionaryNames : std::vector<std::string>{choice}) {
        now.paths.push_back(store::dictionaryPath(programFolder, name));
        now.contents.push_back(cache_->read(now.paths.back(), false).content);
    }
    const bool narrowing = last_ && last_->mode == mode && last_->paths == now.paths &&
                           last_->contents == now.contents && now.term.starts_with(last_->term);
    const KeywordMatcher matcher(mode, term);
    for (std::size_t file = 0; file < now.contents.size(); ++file) {
        const PackedTexts& lowered = now.contents[file]->loweredKeys;
        std::shared_ptr<std::vector<std::uint32_t>> found;
        if (narrowing) {
            found = std::make_shared<std::vector<std::uint32_t>>();
            for (std::uint32_t i : *last_->picks[file])
                if (matcher.matchesLowered(lowered, i))
                    found->push_back(i);
        } else {
            found = std::make_shared<std::vector<std::uint32_t>>(matcher.allMatches(lowered));
        }
        // The rows hold the content, so its keys live as long as the list shows them.
        live.keywords.append(
            std::shared_ptr<const PackedTexts>(now.contents[file], &now.contents[file]->keys),
            found);
        now.picks.push_back(std::move(found));
    }
    last_ = std::move(now);
    if (!live.keywords.empty() || searchText.find('*') != std::string::npos)
        return live;
    PackedTexts suggested;
    for (const std::string& keyword :
         suggestKeywords(programFolder, dictionaryNames, searchText, choice, cache_))
        suggested.push_back(keyword);
    live.suggestions = suggested.size() > 0;
    live.keywords = KeywordRows(std::move(suggested));
    return live;
}

} // namespace lookup
