#include "lookup/search/lookup_commands.h"

#include "lookup/search/dictionary_reader.h"
#include "lookup/search/find_link.h"
#include "lookup/search/keyword_search.h"
#include "store/modDB.h"

#include <utility>

namespace lookup::search {

LookupCommands::LookupCommands(LookupSettings settings, LookupView& view, std::string& strURL)
    : settings_(std::move(settings)), view_(view), strURL_(strURL) {}

void LookupCommands::runSearch(const std::vector<std::string>& dictionaryNames) {
    const std::string text = view_.SearchText();
    const SearchMode mode = view_.Mode();
    view_.ClearKeywords();
    if (mode == SearchMode::Wildcard)
        strURL_ = BuildPattern(text);
    SearchKeywords(settings_.programFolder, dictionaryNames, mode, SearchTerm(mode, text),
                   [&](const std::string& keyword) { view_.AppendKeyword(keyword); });
}

void LookupCommands::appendAllKeywords(const std::string& dictionaryName) {
    AllKeywords(settings_.programFolder, dictionaryName,
                [&](const std::string& keyword) { view_.AppendKeyword(keyword); });
}

void LookupCommands::copySelectedKeyword() {
    if (std::optional<std::string> selected = view_.SelectedKeyword())
        view_.SetSearchText(*selected);
}

void LookupCommands::SearchButton() {
    const std::string text = view_.SearchText();
    const std::string trimmed = TrimSpaces(text);
    if (trimmed.empty()) {
        view_.ShowEnterTerm();
        return;
    }
    if (view_.Mode() == SearchMode::Web) {
        view_.SiteSearch(text, settings_.homeURL);
        return;
    }
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
    if (view_.Mode() == SearchMode::Web) {
        view_.SiteSearch(text, settings_.homeURL);
        return;
    }
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
        view_.ClearKeywords();
        appendAllKeywords(scope);
        view_.ShowEnterTerm();
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
    if (view_.Mode() == SearchMode::Web) {
        view_.SiteSearch(text, settings_.homeURL);
        return;
    }
    strURL_ = modDB::LowerUtf8(TrimSpaces(text));
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        FindLink(settings_.programFolder, view_.DictionaryNames(), strURL_, scope, strURL_);
    } else {
        if (text.empty()) {
            view_.ClearKeywords();
            appendAllKeywords(scope);
            view_.ShowEnterTerm();
            return;
        }
        // The term was taken above; the copied keyword is only shown.
        const std::string term = strURL_;
        copySelectedKeyword();
        FindLinkIn(settings_.programFolder, scope, term, strURL_);
    }
    showPageUnlessListEmpty();
}

// The not-found decision is the keyword list's: an empty list means nothing matched there.
void LookupCommands::showPageUnlessListEmpty() {
    if (view_.KeywordCount() == 0)
        view_.ShowNotFound();
    else
        view_.ShowPage();
}

void LookupCommands::KeywordDoubleClick() {
    strURL_ = TrimSpaces(view_.SearchText());
    const std::string scope = view_.SelectorText();
    if (IsAllScope(scope)) {
        FindLink(settings_.programFolder, view_.DictionaryNames(), strURL_, scope, strURL_);
        view_.ShowPage();
        return;
    }
    const std::string term = strURL_;
    copySelectedKeyword();
    FindLinkIn(settings_.programFolder, scope, term, strURL_);
    showPageUnlessListEmpty();
}

void LookupCommands::OptionClick() {
    view_.FocusSearchBox();
}

} // namespace lookup::search
