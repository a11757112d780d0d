// What the Search button, the Enter key in the search box, the Display button, a double click on
// a keyword and a click on a search option do. The window answers the questions and carries out
// the actions of LookupView; these classes decide, so every path runs without a window.
#pragma once

#include "lookup/dictionary_cache.h"
#include "lookup/matching.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace lookup {

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

    // Replaces what the keyword list holds, in one batch.
    virtual void ShowKeywords(std::vector<std::string> keywords) = 0;
    virtual void SetSearchText(const std::string& text) = 0;
    virtual void ShowEnterTerm() = 0; // "Please Enter Search Term", then focus to the box
    virtual void ShowNotFound() = 0;  // the not-found message, then focus to the box
    // Navigates the pane to the address and brings it forward.
    virtual void ShowPage(const std::string& address) = 0;
    virtual void ShowBrowserWindow() = 0;
    virtual void Navigate(const std::string& address) = 0; // the pane, without bringing it up
    virtual void SiteSearch(const std::string& text, const std::string& site) = 0;
    virtual void FocusSearchBox() = 0;
};

struct LookupSettings {
    std::string programFolder;
    std::string homeURL; // the site of web searches
    // Where decoded dictionaries are kept between commands.
    DictionaryCache* cache = &SharedDictionaryCache();
};

class LookupCommands {
public:
    LookupCommands(LookupSettings settings, LookupView& view);

    void SearchButton();
    void EnterKey();
    void DisplayButton();
    void KeywordDoubleClick();
    void OptionClick();

    // The pending page address: the term or link a lookup settled on, or the pattern of the
    // last wildcard search; empty at first.
    const std::string& PageAddress() const { return address_; }

private:
    // Keeps a wildcard pattern as the page address; the matches replace the list.
    void runSearch(const std::vector<std::string>& dictionaryNames);
    // In web mode the text goes to the site search and the command ends there.
    bool searchedTheWeb(const std::string& text);
    // The dictionary's keywords back in the list, then "Please Enter Search Term".
    void reloadAndAskForATerm(const std::string& dictionaryName);
    // Replace the page address (taken as the term) by the term's link when one is found.
    void lookUpInEveryDictionary();
    void lookUpInChosenDictionary(const std::string& dictionaryName);
    void showPageUnlessListEmpty();

    LookupSettings settings_;
    LookupView& view_;
    std::string address_;
};

} // namespace lookup
