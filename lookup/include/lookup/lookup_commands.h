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

    virtual std::string searchText() const = 0;   // the search box, as typed
    virtual std::string selectorText() const = 0; // the dictionary selector's text
    // The selector's entries after "All", in order.
    virtual std::vector<std::string> dictionaryNames() const = 0;
    virtual SearchMode mode() const = 0;
    virtual std::size_t keywordCount() const = 0;
    virtual std::optional<std::string> selectedKeyword() const = 0;

    // Replaces what the keyword list holds, in one batch.
    virtual void showKeywords(std::vector<std::string> keywords) = 0;
    virtual void setSearchText(const std::string& text) = 0;
    virtual void showEnterTerm() = 0; // "Please Enter Search Term", then focus to the box
    virtual void showNotFound() = 0;  // the not-found message, then focus to the box
    // Navigates the pane to the address and brings it forward.
    virtual void showPage(const std::string& address) = 0;
    virtual void showBrowserWindow() = 0;
    virtual void navigate(const std::string& address) = 0; // the pane, without bringing it up
    virtual void siteSearch(const std::string& text, const std::string& site) = 0;
    virtual void focusSearchBox() = 0;
};

struct LookupSettings {
    std::string programFolder;
    std::string homeURL; // the site of web searches
    // Where decoded dictionaries are kept between commands.
    DictionaryCache* cache = &sharedDictionaryCache();
};

class LookupCommands {
public:
    LookupCommands(LookupSettings settings, LookupView& view);

    void searchButton();
    void enterKey();
    void displayButton();
    void keywordDoubleClick();
    void optionClick();

    // The pending page address: the term or link a lookup settled on, or the pattern of the
    // last wildcard search; empty at first.
    const std::string& pageAddress() const { return address_; }

private:
    // Keeps a wildcard pattern as the page address; the matches replace the list.
    void runSearch(const std::vector<std::string>& dictionaryNames);
    // Under "All": the matches of every dictionary, then the browser window.
    void searchEveryDictionary();
    // The matches of one dictionary; false, once the user is told, when there are none.
    bool foundInOneDictionary(const std::string& dictionaryName);
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
