// The lookup commands against dictionary files of our own, with a stand-in for the window.
#include "dictionary_folder.h"
#include "lookup/find_link.h"
#include "lookup/lookup_commands.h"
#include "lookup/term_findings.h"

#include <gtest/gtest.h>

namespace lookup {
namespace {

using Strings = std::vector<std::string>;
const std::string kSite = "https://home.test";

// The window as a record of every action taken, one line each.
class RecordingView : public LookupView {
public:
    std::string typed, selector = "All";
    Strings dictionaries{"Methods", "Tarot"}, keywords, actions;
    SearchMode chosenMode = SearchMode::Exact;
    std::optional<std::string> selected;

    std::string searchText() const override { return typed; }
    std::string selectorText() const override { return selector; }
    Strings dictionaryNames() const override { return dictionaries; }
    SearchMode mode() const override { return chosenMode; }
    std::size_t keywordCount() const override { return keywords.size(); }
    std::optional<std::string> selectedKeyword() const override { return selected; }
    void showKeywords(Strings shown) override { keywords = std::move(shown); }
    void setSearchText(const std::string& text) override { act("box:" + (typed = text)); }
    void showEnterTerm() override { act("enter-term"); }
    void showNotFound() override { act("not-found"); }
    void showPage(const std::string& address) override { act("page:" + address); }
    void showBrowserWindow() override { act("window"); }
    void navigate(const std::string& address) override { act("go:" + address); }
    void siteSearch(const std::string& t, const std::string& s) override {
        act("site:[" + t + "]" + s);
    }
    void focusSearchBox() override { act("focus"); }
    void act(const std::string& line) { actions.push_back(line); }
    Strings taken() { return std::exchange(actions, {}); } // the actions since the last call
};

constexpr auto kSearch = &LookupCommands::searchButton, kEnter = &LookupCommands::enterKey,
               kDisplay = &LookupCommands::displayButton,
               kDoubleClick = &LookupCommands::keywordDoubleClick;

// Every link is the dictionary's initial and the keyword's place in it: "m4" for the first Omen.
class Commands : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeCatalogue({"Methods", "Tarot"});
        write("Methods", "m",
              {"Oracle", "Coracle", "Oracle bones", "Aura reading", "Omen", "Acle acle", "Omen"});
        write("Tarot", "t", {"oracle", "The Fool", " Spaced "});
    }
    void write(const std::string& name, const std::string& initial, const Strings& keys) {
        std::vector<testing_support::Record> records;
        for (const std::string& key : keys)
            records.emplace_back(key, initial + std::to_string(records.size()));
        folder.writeDictionary(name, records);
    }
    // Runs a command; returns the actions it took.
    Strings press(void (LookupCommands::*command)()) {
        (commands.*command)();
        return view.taken();
    }
    testing_support::DictionaryFolder folder;
    RecordingView view;
    LookupCommands commands{{folder.path(), kSite}, view};
};

TEST_F(Commands, SearchesListMatchesInSelectorAndRecordOrderAndOnlyWildcardKeepsThePattern) {
    view.keywords = {"old"};
    view.typed = "ORA";
    EXPECT_EQ(press(kSearch), Strings{"window"});
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Oracle bones", "oracle"}));
    EXPECT_EQ(commands.pageAddress(), "");
    view.chosenMode = SearchMode::Wildcard;
    view.typed = "ACL";
    press(kSearch); // a keyword holding the pattern twice is listed once
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Coracle", "Oracle bones", "Acle acle", "oracle"}));
    EXPECT_EQ(commands.pageAddress(), "acl");
    view.typed = "ra ";
    press(kEnter); // the spaces at the ends belong to the pattern
    EXPECT_EQ(view.keywords, (Strings{"Aura reading"}));
    EXPECT_EQ(commands.pageAddress(), "ra ");
}

// The two entry points, case by case where they differ.
TEST_F(Commands, ABoxOfSpacesAsksForATermOnlyFromTheButton) {
    view.typed = " ";
    view.keywords = {"kept"};
    EXPECT_EQ(press(kSearch), Strings{"enter-term"});
    EXPECT_EQ(view.keywords, Strings{"kept"});
    EXPECT_EQ(press(kEnter), Strings{"window"}); // exact: every keyword begins with ""
    EXPECT_EQ(view.keywords.size(), 10u);
    view.chosenMode = SearchMode::Wildcard; // the space is the pattern
    press(kEnter);
    EXPECT_EQ(view.keywords,
              (Strings{"Oracle bones", "Aura reading", "Acle acle", "The Fool", " Spaced "}));
}

TEST_F(Commands, WebModeHandsTheTextAsTypedToTheSiteSearchEvenEmptyFromTheKey) {
    view.keywords = {"kept"};
    EXPECT_EQ(press(&LookupCommands::optionClick), Strings{"focus"}); // and nothing else
    view.chosenMode = SearchMode::Web;
    EXPECT_EQ(press(kSearch), Strings{"enter-term"});
    EXPECT_EQ(press(kEnter), Strings{"site:[]" + kSite});
    view.typed = " Tarot spread ";
    EXPECT_EQ(press(kSearch), Strings{"site:[ Tarot spread ]" + kSite});
    EXPECT_EQ(press(kDisplay), Strings{"site:[ Tarot spread ]" + kSite});
    EXPECT_EQ(view.keywords, Strings{"kept"});
    EXPECT_EQ(commands.pageAddress(), "");
}

TEST_F(Commands, OneDictionaryIsReloadedByTheKeyOnAnEmptyBoxAndNavigatedToByTheButtonOnAMatch) {
    view.selector = "Tarot";
    view.keywords = {"kept"};
    EXPECT_EQ(press(kEnter), Strings{"enter-term"});
    EXPECT_EQ(view.keywords, (Strings{"oracle", "The Fool", " Spaced "}));
    view.selector = " Methods "; // the scope test trims, the file name does not
    folder.writeDictionary(" Methods ", {{"Omen", "spaced"}});
    view.typed = " om ";
    EXPECT_EQ(press(kSearch), Strings{"go:om"});
    EXPECT_EQ(view.keywords, Strings{"Omen"});
    EXPECT_EQ(press(kEnter), Strings{"window"});
}

TEST_F(Commands, NoMatchIsReportedOnlyForOneDictionary) {
    view.typed = "zzz";                                 // the list stays empty either way
    view.dictionaries = {"Methods", "Absent", "Tarot"}; // a missing file contributes nothing
    EXPECT_EQ(press(kSearch), Strings{"window"});
    EXPECT_EQ(press(kEnter), Strings{"window"});
    view.selector = "Tarot";
    EXPECT_EQ(press(kSearch), Strings{"not-found"});
    EXPECT_EQ(press(kEnter), Strings{"not-found"});
}

TEST_F(Commands, FindLinkAndFindTermTakeTheFirstDictionaryAndTheFirstRecordWithoutTrimming) {
    const auto find = [&](const std::string& term, const std::string& choice) {
        std::string address = "kept";
        return (findLink(folder.path(), view.dictionaries, term, choice, address) ? "1" : "0") +
               address;
    };
    EXPECT_EQ(find("ORACLE", "All"), "1m0");
    EXPECT_EQ(find("omen", "Methods"), "1m4");
    EXPECT_EQ(find(" spaced ", "Tarot"), "1t2");
    EXPECT_EQ(find("Spaced", "Tarot"), "0kept");
    EXPECT_EQ(find("Fool", "Absent"), "0kept");
    // The page for a term: the equal keywords, then those holding it, each once.
    const auto matches = [](const TermFindings& findings) {
        Strings found;
        for (const KeywordLink& match : findings.matches)
            found.push_back(match.keyword + "=" + match.link);
        return found;
    };
    TermFindings oracle = findTerm(folder.path(), view.dictionaries, "oracle", "All");
    EXPECT_EQ(oracle.definition, "m0");
    EXPECT_EQ(matches(oracle),
              (Strings{"Oracle=m0", "oracle=t0", "Coracle=m1", "Oracle bones=m2"}));
    EXPECT_TRUE(oracle.suggestions.empty());
    EXPECT_EQ(matches(findTerm(folder.path(), view.dictionaries, "omen", "Methods")),
              Strings{"Omen=m4"});
    TermFindings misspelt = findTerm(folder.path(), view.dictionaries, "Orcale", "Tarot");
    EXPECT_FALSE(misspelt.definition);
    EXPECT_TRUE(misspelt.matches.empty());
    EXPECT_EQ(misspelt.suggestions, Strings{"oracle"});
}

TEST_F(Commands, DisplayShowsTheLinkOfTheTrimmedLoweredTermOrTheTermWhenTheListIsNotEmpty) {
    view.keywords = {"Omen"};
    view.typed = "  OMEN ";
    EXPECT_EQ(press(kDisplay), Strings{"page:m4"});
    view.typed = "Unknown Term";
    EXPECT_EQ(press(kDisplay), Strings{"page:unknown term"});
    view.keywords.clear(); // an empty list means not found, whatever was looked up
    view.typed = "oracle";
    EXPECT_EQ(press(kDisplay), Strings{"not-found"});
    EXPECT_EQ(commands.pageAddress(), "m0");
}

TEST_F(Commands, DisplayInOneDictionaryCopiesTheSelectionButLooksUpTheTypedTerm) {
    view.selector = "Tarot";
    view.keywords = {"oracle", "The Fool"};
    view.selected = "The Fool";
    view.typed = "Oracle";
    EXPECT_EQ(press(kDisplay), (Strings{"box:The Fool", "page:t0"}));
    view.typed = ""; // an empty box reloads the dictionary and asks for a term
    EXPECT_EQ(press(kDisplay), Strings{"enter-term"});
    EXPECT_EQ(view.keywords, (Strings{"oracle", "The Fool", " Spaced "}));
    view.typed = "   "; // spaces are not empty here: the empty term matches nothing
    view.selected.reset();
    EXPECT_EQ(press(kDisplay), Strings{"page:"});
}

TEST_F(Commands, DoubleClickKeepsTheCaseOfATermThatIsNoKeyAndConsultsTheListOnlyForOne) {
    view.typed = " Evil Eye "; // under "All" the list is not consulted
    EXPECT_EQ(press(kDoubleClick), Strings{"page:Evil Eye"});
    view.typed = "the fool";
    EXPECT_EQ(press(kDoubleClick), Strings{"page:t1"});
    view.selector = "Methods";
    view.typed = "omen";
    EXPECT_EQ(press(kDoubleClick), Strings{"not-found"});
    view.keywords = {"Omen"};
    view.selected = "Omen";
    EXPECT_EQ(press(kDoubleClick), (Strings{"box:Omen", "page:m4"}));
    view.selector = "Absent"; // a dictionary that cannot be opened finds nothing
    EXPECT_EQ(press(kDoubleClick), (Strings{"box:Omen", "page:Omen"}));
}

} // namespace
} // namespace lookup
