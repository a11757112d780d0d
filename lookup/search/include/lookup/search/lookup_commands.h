// What the Search button, the Enter key in the search box, the Display button, a double click on
// a keyword and a click on a search option do. The window answers the questions and carries out
// the actions of LookupView; these classes decide, so every path runs without a window.
#pragma once

#include "lookup/search/matching.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lookup::search {

// The main window as the lookup commands see it.
class LookupView {
public:
    virtual ~LookupView() = default;

    virtual std::string SearchText() const = 0;   // the search box, as typed
    virtual std::string SelectorText() const = 0; // the dictionary selector's text
    // The selector's entries after "All", in order.
    virtual std::vector<std::string> DictionaryNames() const = 0;
    virtual SearchMode Mode() const = 0;
    virtual std::size_t KeywordCount() const = 0;
    virtual std::optional<std::string> SelectedKeyword() const = 0;

    virtual void ClearKeywords() = 0;
    virtual void AppendKeyword(const std::string& keyword) = 0;
    virtual void SetSearchText(const std::string& text) = 0;
    virtual void ShowEnterTerm() = 0; // "Please Enter Search Term", then focus to the box
    virtual void ShowNotFound() = 0;  // the not-found message, then focus to the box
    virtual void ShowPage() = 0;      // navigates the pane to strURL and brings it forward
    virtual void ShowBrowserWindow() = 0;
    virtual void Navigate(const std::string& address) = 0; // the pane, without bringing it up
    virtual void SiteSearch(const std::string& text, const std::string& site) = 0;
    virtual void FocusSearchBox() = 0;
};

struct LookupSettings {
    std::string programFolder;
    std::string homeURL; // the site of web searches
};

class LookupCommands {
public:
    // strURL: the program's pending page address, read and written by the commands.
    LookupCommands(LookupSettings settings, LookupView& view, std::string& strURL);

    void SearchButton();
    void EnterKey();
    void DisplayButton();
    void KeywordDoubleClick();
    void OptionClick();

private:
    // Empties the list, remembers a wildcard pattern in strURL, appends the matches.
    void runSearch(const std::vector<std::string>& dictionaryNames);
    void appendAllKeywords(const std::string& dictionaryName);
    void copySelectedKeyword();
    void showPageUnlessListEmpty();

    LookupSettings settings_;
    LookupView& view_;
    std::string& strURL_;
};

} // namespace lookup::search
