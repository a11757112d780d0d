// A main window stand-in for the lookup commands: fixed inputs, every action recorded as a line.
#pragma once

#include "lookup/search/lookup_commands.h"

#include <string>
#include <vector>

namespace testing_support {

class RecordingView : public lookup::search::LookupView {
public:
    std::string searchText;
    std::string selectorText = "All";
    std::vector<std::string> dictionaries;
    lookup::search::SearchMode mode = lookup::search::SearchMode::Exact;
    std::vector<std::string> keywords;          // the list
    std::optional<std::string> selectedKeyword; // the list's selection
    std::string* strURL = nullptr;              // read when the page is shown
    std::vector<std::string> actions;

    std::string SearchText() const override { return searchText; }
    std::string SelectorText() const override { return selectorText; }
    std::vector<std::string> DictionaryNames() const override { return dictionaries; }
    lookup::search::SearchMode Mode() const override { return mode; }
    std::size_t KeywordCount() const override { return keywords.size(); }
    std::optional<std::string> SelectedKeyword() const override { return selectedKeyword; }

    void ClearKeywords() override { keywords.clear(); }
    void AppendKeyword(const std::string& keyword) override { keywords.push_back(keyword); }
    void SetSearchText(const std::string& text) override {
        searchText = text;
        actions.push_back("box:" + text);
    }
    void ShowEnterTerm() override { actions.push_back("enter-term"); }
    void ShowNotFound() override { actions.push_back("not-found"); }
    void ShowPage() override { actions.push_back("page:" + (strURL ? *strURL : "?")); }
    void ShowBrowserWindow() override { actions.push_back("window"); }
    void Navigate(const std::string& address) override { actions.push_back("go:" + address); }
    void SiteSearch(const std::string& text, const std::string& site) override {
        actions.push_back("site-search:[" + text + "]" + site);
    }
    void FocusSearchBox() override { actions.push_back("focus"); }
};

} // namespace testing_support
