#include "lookup/lookup_commands.h"

#include "jet/utf8.h"
#include "lookup/dictionary_selection.h"
#include "lookup/find_link.h"
#include "lookup/keyword_search.h"
#include "lookup/keywords.h"

#include <utility>

namespace lookup {

LookupCommands::LookupCommands(LookupSettings settings, LookupView& view)
    : settings_(std::move(settings)), view_(view) {}

void LookupCommands::runSearch(const std::vector<std::string>& dictionaryNames) {
    const std::string text = view_.SearchText();
    const SearchMode mode = view_.Mode();
    if (mode == SearchMode::Wildcard)
        address_ = BuildPattern(text);
    std::vector<std::string> found;
    SearchKeywords(
        settings_.programFolder, dictionaryNames, mode, SearchTerm(mode, text),
        [&](std::string_view keyword) { found.emplace_back(keyword); }, {}, settings_.cache);
    view_.ShowKeywords(std::move(found));
}

bool LookupCommands::searchedTheWeb(const std::string& text) {
    if (view_.Mode() != SearchMode::Web)
        return false;
    view_.SiteSearch(text, settings_.homeURL);
    return true;
}

void LookupCommands::reloadAndAskForATerm(const std::string& dictionaryName) {
    std::vector<std::string> keywords;
    LoadKeywords(settings_.programFolder, dictionaryName, keywords, settings_.cache);
    view_.ShowKeywords(std::move(keywords));
    view_.ShowEnterTerm();
}

void LookupCommands::SearchButton() {
    const std::string text = view_.SearchText();
    const std::string trimmed = TrimSpaces(text);
    if (trimmed.empty()) {
        view_.ShowEnterTerm();
        return;
    }
    if (searchedTheWeb(text))
        return;
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        runSearch(view_.DictionaryNames());
        view_.ShowBrowserWindow();
        return;
    }
    runSearch({scope});
    if (view_.KeywordCount() > 0)
        view_.Navigate(trimmed);
    else
        view_.ShowNotFound();
}

void LookupCommands::EnterKey() {
    const std::string text = view_.SearchText();
    if (searchedTheWeb(text))
        return;
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        if (text.empty()) {
            view_.ShowEnterTerm();
            return;
        }
        runSearch(view_.DictionaryNames());
        view_.ShowBrowserWindow();
        return;
    }
    if (text.empty()) {
        reloadAndAskForATerm(scope);
        return;
    }
    runSearch({scope});
    if (view_.KeywordCount() == 0)
        view_.ShowNotFound();
    else
        view_.ShowBrowserWindow();
}

void LookupCommands::DisplayButton() {
    const std::string text = view_.SearchText();
    if (searchedTheWeb(text))
        return;
    address_ = jet::utf8::toLower(TrimSpaces(text));
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        lookUpInEveryDictionary();
        showPageUnlessListEmpty();
        return;
    }
    if (text.empty())
        reloadAndAskForATerm(scope);
    else
        lookUpInChosenDictionary(scope);
}

void LookupCommands::KeywordDoubleClick() {
    address_ = TrimSpaces(view_.SearchText());
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        lookUpInEveryDictionary();
        view_.ShowPage(address_);
        return;
    }
    lookUpInChosenDictionary(scope);
}

void LookupCommands::OptionClick() {
    view_.FocusSearchBox();
}

void LookupCommands::lookUpInEveryDictionary() {
    const std::string term = address_;
    FindLink(settings_.programFolder, view_.DictionaryNames(), term, kAllEntry, address_,
             settings_.cache);
}

void LookupCommands::lookUpInChosenDictionary(const std::string& dictionaryName) {
    // The term is the one taken before; the selected keyword is only copied into the box.
    const std::string term = address_;
    if (std::optional<std::string> selected = view_.SelectedKeyword())
        view_.SetSearchText(*selected);
    FindLinkIn(settings_.programFolder, dictionaryName, term, address_, settings_.cache);
    showPageUnlessListEmpty();
}

// The not-found decision is the keyword list's: an empty list means nothing matched there.
void LookupCommands::showPageUnlessListEmpty() {
    if (view_.KeywordCount() == 0)
        view_.ShowNotFound();
    else
        view_.ShowPage(address_);
}

} // namespace lookup
