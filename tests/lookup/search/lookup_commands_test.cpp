// The Search button, the Enter key, the Display button and the double click, run against
// dictionary files of our own with a recording stand-in for the window.
#include "dictionary_folder.h"
#include "lookup/search/find_link.h"
#include "lookup/search/lookup_commands.h"
#include "recording_view.h"

#include <gtest/gtest.h>

using lookup::search::SearchMode;
using Strings = std::vector<std::string>;

namespace {

const char* const kSite = "https://home.test";

class LookupCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder.writeCatalogue({"Methods", "", "Tarot"});
        folder.writeDictionary("Methods", {{"Oracle", "https://m.test/oracle"},
                                           {"Coracle", "https://m.test/coracle"},
                                           {"Oracle bones", "https://m.test/bones"},
                                           {"Aura reading", "https://m.test/aura"},
                                           {"Omen", "https://m.test/omen-1"},
                                           {"Acle acle", "https://m.test/twice"},
                                           {"Omen", "https://m.test/omen-2"}});
        folder.writeDictionary("Tarot", {{"oracle", "https://t.test/oracle"},
                                         {"The Fool", "https://t.test/fool"},
                                         {" Spaced ", "https://t.test/spaced"}});
        view.dictionaries = {"Methods", "Tarot"};
        view.strURL = &strURL;
    }

    lookup::search::LookupCommands commands() {
        return lookup::search::LookupCommands({folder.path(), kSite}, view, strURL);
    }

    testing_support::DictionaryFolder folder;
    testing_support::RecordingView view;
    std::string strURL = "before";
};

TEST_F(LookupCommandsTest, ExactSearchOverAllListsPrefixMatchesInSelectorOrder) {
    view.keywords = {"old"};
    view.searchText = "ORA";
    commands().SearchButton();
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Oracle bones", "oracle"}));
    EXPECT_EQ(view.actions, (Strings{"window"}));
    EXPECT_EQ(strURL, "before"); // an exact search leaves strURL alone
}

TEST_F(LookupCommandsTest, WildcardSearchListsContainmentMatchesOnceAndKeepsThePattern) {
    view.mode = SearchMode::Wildcard;
    view.searchText = "ACL";
    commands().SearchButton();
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Coracle", "Oracle bones", "Acle acle", "oracle"}));
    EXPECT_EQ(strURL, "acl");

    view.searchText = "Or*LE";
    commands().EnterKey();
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Coracle", "Oracle bones", "oracle"}));
    EXPECT_EQ(strURL, "or*le");
}

TEST_F(LookupCommandsTest, SpacesAtTheEndsBelongToTheWildcardPatternForBothEntryPoints) {
    view.mode = SearchMode::Wildcard;
    view.searchText = "ra ";
    commands().SearchButton();
    EXPECT_EQ(view.keywords, (Strings{"Aura reading"}));
    view.keywords.clear();
    commands().EnterKey();
    EXPECT_EQ(view.keywords, (Strings{"Aura reading"}));
    EXPECT_EQ(strURL, "ra ");
}

TEST_F(LookupCommandsTest, EntryPointsDifferOnABoxOfSpaces) {
    view.searchText = " ";
    view.keywords = {"kept"};
    commands().SearchButton();
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));
    EXPECT_EQ(view.keywords, (Strings{"kept"}));

    view.actions.clear();
    commands().EnterKey(); // exact: the trimmed text is empty, so every keyword matches
    EXPECT_EQ(view.keywords.size(), 10u);
    EXPECT_EQ(view.actions, (Strings{"window"}));

    view.mode = SearchMode::Wildcard; // the spaces are the pattern
    commands().EnterKey();
    EXPECT_EQ(view.keywords,
              (Strings{"Oracle bones", "Aura reading", "Acle acle", "The Fool", " Spaced "}));
}

TEST_F(LookupCommandsTest, EntryPointsDifferOnWebModeWithAnEmptyBox) {
    view.mode = SearchMode::Web;
    commands().SearchButton();
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));
    view.actions.clear();
    commands().EnterKey();
    EXPECT_EQ(view.actions, (Strings{std::string("site-search:[]") + kSite}));

    view.actions.clear();
    view.searchText = " Tarot spread ";
    view.keywords = {"kept"};
    commands().SearchButton();
    EXPECT_EQ(view.actions, (Strings{std::string("site-search:[ Tarot spread ]") + kSite}));
    EXPECT_EQ(view.keywords, (Strings{"kept"}));
    EXPECT_EQ(strURL, "before");
}

TEST_F(LookupCommandsTest, EntryPointsDifferOnOneDictionaryWithAnEmptyBox) {
    view.selectorText = "Tarot";
    view.keywords = {"kept"};
    commands().SearchButton();
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));
    EXPECT_EQ(view.keywords, (Strings{"kept"}));

    view.actions.clear();
    commands().EnterKey();
    EXPECT_EQ(view.keywords, (Strings{"oracle", "The Fool", " Spaced "}));
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));
}

TEST_F(LookupCommandsTest, EntryPointsDifferOnOneDictionaryWithAMatch) {
    view.selectorText = " Methods "; // the scope test trims, the file name does not
    folder.writeDictionary(" Methods ", {{"Omen", "https://spaced.test/omen"}});
    view.searchText = " om ";
    commands().SearchButton();
    EXPECT_EQ(view.keywords, (Strings{"Omen"}));
    EXPECT_EQ(view.actions, (Strings{"go:om"})); // navigated to the trimmed text, not shown

    view.actions.clear();
    commands().EnterKey();
    EXPECT_EQ(view.actions, (Strings{"window"}));
}

TEST_F(LookupCommandsTest, NoMatchIsReportedOnlyForOneDictionary) {
    view.searchText = "zzz";
    commands().SearchButton();
    EXPECT_TRUE(view.keywords.empty());
    EXPECT_EQ(view.actions, (Strings{"window"}));

    view.actions.clear();
    view.selectorText = "Tarot";
    commands().SearchButton();
    EXPECT_EQ(view.actions, (Strings{"not-found"}));
    view.actions.clear();
    commands().EnterKey();
    EXPECT_EQ(view.actions, (Strings{"not-found"}));
    EXPECT_TRUE(view.keywords.empty());
}

TEST_F(LookupCommandsTest, EnterKeyUnderAllWithAnEmptyBoxAsksForATerm) {
    view.keywords = {"kept"};
    commands().EnterKey();
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));
    EXPECT_EQ(view.keywords, (Strings{"kept"}));
}

TEST_F(LookupCommandsTest, AMissingDictionaryContributesNothing) {
    view.dictionaries = {"Methods", "Absent", "Tarot"};
    view.searchText = "oracle";
    commands().SearchButton();
    EXPECT_EQ(view.keywords, (Strings{"Oracle", "Oracle bones", "oracle"}));
}

TEST_F(LookupCommandsTest, FindLinkTakesTheFirstDictionaryAndTheFirstRow) {
    std::string address = "Oracle";
    EXPECT_TRUE(
        lookup::search::FindLink(folder.path(), view.dictionaries, "ORACLE", "All", address));
    EXPECT_EQ(address, "https://m.test/oracle");
    address = "omen";
    EXPECT_TRUE(
        lookup::search::FindLink(folder.path(), view.dictionaries, "omen", "Methods", address));
    EXPECT_EQ(address, "https://m.test/omen-1");
    address = "fool";
    EXPECT_FALSE(
        lookup::search::FindLink(folder.path(), view.dictionaries, "fool", "All", address));
    EXPECT_EQ(address, "fool");
    address = "Spaced";
    EXPECT_FALSE(
        lookup::search::FindLink(folder.path(), view.dictionaries, "Spaced", "Tarot", address));
    address = " spaced ";
    EXPECT_TRUE(
        lookup::search::FindLink(folder.path(), view.dictionaries, " spaced ", "Tarot", address));
}

TEST_F(LookupCommandsTest, DisplayShowsTheLinkOfTheTrimmedLoweredTerm) {
    view.keywords = {"Omen"};
    view.searchText = "  OMEN ";
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{"page:https://m.test/omen-1"}));

    view.actions.clear();
    view.searchText = "Unknown Term";
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{"page:unknown term"})); // lowered when not found
}

TEST_F(LookupCommandsTest, DisplayInOneDictionaryCopiesTheSelectionButLooksUpTheTypedTerm) {
    view.selectorText = "Tarot";
    view.keywords = {"oracle", "The Fool"};
    view.selectedKeyword = "The Fool";
    view.searchText = "Oracle";
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{"box:The Fool", "page:https://t.test/oracle"}));
}

TEST_F(LookupCommandsTest, DisplayWithAnEmptyListShowsNotFound) {
    view.searchText = "oracle";
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{"not-found"}));
    EXPECT_EQ(strURL, "https://m.test/oracle"); // looked up all the same
}

TEST_F(LookupCommandsTest, DisplayWithOneDictionaryAndAnEmptyBoxReloadsItAndAsksForATerm) {
    view.selectorText = "Tarot";
    commands().DisplayButton();
    EXPECT_EQ(view.keywords, (Strings{"oracle", "The Fool", " Spaced "}));
    EXPECT_EQ(view.actions, (Strings{"enter-term"}));

    view.actions.clear();
    view.searchText = "   "; // spaces are not empty here: the empty term matches nothing
    view.selectedKeyword.reset();
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{"page:"}));
}

TEST_F(LookupCommandsTest, DisplayInWebModeOnlySearchesTheWeb) {
    view.mode = SearchMode::Web;
    view.searchText = " Runes ";
    view.keywords = {"kept"};
    commands().DisplayButton();
    EXPECT_EQ(view.actions, (Strings{std::string("site-search:[ Runes ]") + kSite}));
    EXPECT_EQ(strURL, "before");
}

TEST_F(LookupCommandsTest, DoubleClickKeepsTheCaseOfATermThatIsNoKey) {
    view.keywords = {"x"};
    view.searchText = " Evil Eye ";
    commands().KeywordDoubleClick();
    EXPECT_EQ(view.actions, (Strings{"page:Evil Eye"}));

    view.actions.clear();
    view.keywords.clear(); // under "All" the list is not consulted
    view.searchText = "the fool";
    commands().KeywordDoubleClick();
    EXPECT_EQ(view.actions, (Strings{"page:https://t.test/fool"}));
}

TEST_F(LookupCommandsTest, DoubleClickInOneDictionaryConsultsTheList) {
    view.selectorText = "Methods";
    view.searchText = "omen";
    commands().KeywordDoubleClick();
    EXPECT_EQ(view.actions, (Strings{"not-found"}));

    view.actions.clear();
    view.keywords = {"Omen"};
    view.selectedKeyword = "Omen";
    commands().KeywordDoubleClick();
    EXPECT_EQ(view.actions, (Strings{"box:Omen", "page:https://m.test/omen-1"}));

    view.actions.clear();
    view.selectorText = "Absent"; // a dictionary that cannot be opened is skipped
    commands().KeywordDoubleClick();
    EXPECT_EQ(view.actions, (Strings{"box:Omen", "page:Omen"}));
}

TEST_F(LookupCommandsTest, OptionClickOnlyFocusesTheSearchBox) {
    view.keywords = {"kept"};
    commands().OptionClick();
    EXPECT_EQ(view.actions, (Strings{"focus"}));
    EXPECT_EQ(view.keywords, (Strings{"kept"}));
}

} // namespace
