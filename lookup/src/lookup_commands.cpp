#include "lookup/lookup_commands.h"

#include "lookup/dictionary_selection.h"
#include "lookup/find_link.h"
#include "lookup/keyword_search.h"
#include "lookup/keywords.h"
#include "text/utf8.h"

#include <utility>

namespace lookup {

LookupCommands::LookupCommands(LookupSettings settings, LookupView& view)
    : settings_(std::move(settings)), view_(view) {}

void LookupCommands::runSearch(const std::vector<std::string>& dictionaryNames) {
    const std::string text = view_.searchText();
    const SearchMode mode = view_.mode();
    if (mode == SearchMode::Wildcard)
        address_ = buildPattern(text);
    std::vector<std::string> found;
    searchKeywords(
        settings_.programFolder, dictionaryNames, mode, searchTerm(mode, text),
        [&](std::string_view keyword) { found.emplace_back(keyword); }, {}, settings_.cache);
    view_.showKeywords(std::move(found));
}

void LookupCommands::searchEveryDictionary() {
    runSearch(view_.dictionaryNames());
    view_.showBrowserWindow();
}

bool LookupCommands::foundInOneDictionary(const std::string& dictionaryName) {
    runSearch({dictionaryName});
    if (view_.keywordCount() > 0)
        return true;
    view_.showNotFound();
    return false;
}

bool LookupCommands::searchedTheWeb(const std::string& text) {
    if (view_.mode() != SearchMode::Web)
        return false;
    view_.siteSearch(text, settings_.homeURL);
    return true;
}

void LookupCommands::reloadAndAskForATerm(const std::string& dictionaryName) {
    std::vector<std::string> keywords;
    loadKeywords(settings_.programFolder, dictionaryName, keywords, settings_.cache);
    view_.showKeywords(std::move(keywords));
    view_.showEnterTerm();
}

void LookupCommands::searchButton() {
    const std::string text = view_.searchText();
    const std::string trimmed = trimSpaces(text);
    if (trimmed.empty()) {
        view_.showEnterTerm();
        return;
    }
    if (searchedTheWeb(text))
        return;
    const std::string scope = view_.selectorText();
    if (isAllScope(scope))
        return searchEveryDictionary();
    if (foundInOneDictionary(scope))
        view_.navigate(trimmed);
}

void LookupCommands::enterKey() {
    const std::string text = view_.searchText();
    if (searchedTheWeb(text))
        return;
    const std::string scope = view_.selectorText();
    if (isAllScope(scope)) {
        if (text.empty())
            return view_.showEnterTerm();
        return searchEveryDictionary();
    }
    if (text.empty()) {
        reloadAndAskForATerm(scope);
        return;
    }
    if (foundInOneDictionary(scope))
        view_.showBrowserWindow();
}

void LookupCommands::displayButton() {
    const std::string text = view_.searchText();
    if (searchedTheWeb(text))
        return;
    address_ = text::utf8::toLower(trimSpaces(text));
    const std::string scope = view_.selectorText();
    if (isAllScope(scope)) {
        lookUpInEveryDictionary();
        showPageUnlessListEmpty();
        return;
    }
    if (text.empty())
        reloadAndAskForATerm(scope);
    else
        lookUpInChosenDictionary(scope);
}

void LookupCommands::keywordDoubleClick() {
    address_ = trimSpaces(view_.searchText());
    const std::string scope = view_.selectorText();
    if (isAllScope(scope)) {
        lookUpInEveryDictionary();
        view_.showPage(address_);
        return;
    }
    lookUpInChosenDictionary(scope);
}

void LookupCommands::optionClick() {
    view_.focusSearchBox();
}

void LookupCommands::lookUpInEveryDictionary() {
    const std::string term = address_;
    findLink(settings_.programFolder, view_.dictionaryNames(), term, kAllEntry, address_,
             settings_.cache);
}

void LookupCommands::lookUpInChosenDictionary(const std::string& dictionaryName) {
    // The term is the one taken before; the selected keyword is only copied into the box.
    const std::string term = address_;
    if (std::optional<std::string> selected = view_.selectedKeyword())
        view_.setSearchText(*selected);
    findLinkIn(settings_.programFolder, dictionaryName, term, address_, settings_.cache);
    showPageUnlessListEmpty();
}

// The not-found decision is the keyword list's: an empty list means nothing matched there.
void LookupCommands::showPageUnlessListEmpty() {
    if (view_.keywordCount() == 0)
        view_.showNotFound();
    else
        view_.showPage(address_);
}

} // namespace lookup
