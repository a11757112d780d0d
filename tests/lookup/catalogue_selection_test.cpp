// The catalogue, keyword loading and the selector's reaction, over folders of our own.
#include "dictionary_folder.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "lookup/dictionary_selection.h"
#include "lookup/keywords.h"
#include "store/catalogue.h"
#include "store/modDB.h"

#include <fstream>
#include <gtest/gtest.h>

namespace {

using testing_support::DictionaryFolder;
using testing_support::Record;
using Keys = std::vector<std::string>;

jet::CreateOptions password(const std::string& text) {
    jet::CreateOptions options;
    options.password = text;
    return options;
}

std::vector<Record> records(const Keys& keys) {
    std::vector<Record> result;
    for (const std::string& key : keys)
        result.push_back({key, "https://example.org/" + key});
    return result;
}

// Omens and Runes share "Fehu"; Omens holds "Crow" twice.
struct TwoDictionaries : ::testing::Test {
    DictionaryFolder folder;
    void SetUp() override {
        folder.writeCatalogue({"Omens", "Runes"});
        folder.writeDictionary("Omens", records({"Crow", "Fehu", "Crow"}));
        folder.writeDictionary("Runes", records({"Fehu", "Uruz"}));
    }
};

TEST(TrimSpaces, RemovesOnlySpacesAtBothEnds) {
    EXPECT_EQ(lookup::TrimSpaces("  Omens  "), "Omens");
    EXPECT_EQ(lookup::TrimSpaces("   "), "");
    EXPECT_EQ(lookup::TrimSpaces("\tOmens \t"), "\tOmens \t");
    EXPECT_EQ(lookup::TrimSpaces(" Dream  Signs "), "Dream  Signs");
}

TEST(MissingDictionaryMessage, IsThreeLinesSeparatedByCarriageReturns) {
    EXPECT_EQ(lookup::MissingDictionaryMessage("omens"),
              "omens Dictionary is missing\rPlease download omens Dictionary Database\r"
              "Or Reinstall the Software");
    EXPECT_EQ(lookup::MissingDictionaryMessage(""),
              " Dictionary is missing\rPlease download  Dictionary Database\r"
              "Or Reinstall the Software");
}

TEST_F(TwoDictionaries, StartUpLoadListsEveryNameAndEveryKeywordInOrderWithDuplicates) {
    lookup::CatalogueContent content = lookup::LoadCatalogue(folder.path());
    EXPECT_EQ(content.dictionaryNames, (Keys{"Omens", "Runes"}));
    EXPECT_EQ(content.keywords, (Keys{"Crow", "Fehu", "Crow", "Fehu", "Uruz"}));
}

TEST(Catalogue, SkipsEmptyAndNullNamesButReadsTheRecordsAfterThem) {
    DictionaryFolder folder;
    const std::string path = modDB::CataloguePath(folder.path());
    folder.writeCatalogue({"Omens", "", "Runes"});
    jet::WriteSession session = jet::WriteSession::open(path, modDB::kDatabasePassword);
    session.appendRow(modDB::kDataTable, {{"Database", std::string("none.dll")}}); // names null
    session.appendRow(modDB::kDataTable, {{"names", std::string(" Tarot ")}});
    session.commit();
    store::CatalogueNames catalogue = store::ReadCatalogue(folder.path());
    EXPECT_EQ(catalogue.names, (Keys{"Omens", "Runes", " Tarot "}));
    EXPECT_EQ(catalogue.error, "");
}

TEST(Catalogue, MissingForeignOrLockedFilesGiveNoNamesAndAReason) {
    DictionaryFolder folder;
    EXPECT_FALSE(store::CatalogueExists(folder.path()));
    store::CatalogueNames missing = store::ReadCatalogue(folder.path());
    EXPECT_TRUE(missing.names.empty());
    EXPECT_NE(missing.error.find("divination.dll"), std::string::npos) << missing.error;

    jet::createDatabase(modDB::CataloguePath(folder.path()), {{"data", {{"names"}, {"Database"}}}},
                        password("another password"));
    EXPECT_TRUE(store::ReadCatalogue(folder.path()).names.empty());

    std::ofstream(modDB::CataloguePath(folder.path()), std::ios::binary | std::ios::trunc)
        << std::string(8192, 'x');
    EXPECT_TRUE(store::CatalogueExists(folder.path()));
    EXPECT_TRUE(store::ReadCatalogue(folder.path()).names.empty());
}

TEST(Catalogue, AFolderNamedLikeADictionaryIsNotItsFile) {
    DictionaryFolder folder;
    std::filesystem::create_directory(modDB::DictionaryPath(folder.path(), "Omens"));
    EXPECT_FALSE(store::DictionaryExists(folder.path(), "Omens"));
}

TEST(LoadKeywords, AppendsAfterWhatTheListHoldsAndReadsTheLoweredUntrimmedName) {
    DictionaryFolder folder;
    folder.writeDictionary("Dream Signs ", records({"Falling"}));
    Keys keywords{"Earlier"};
    EXPECT_TRUE(lookup::LoadKeywords(folder.path(), "DREAM SIGNS ", keywords));
    EXPECT_EQ(keywords, (Keys{"Earlier", "Falling"}));
    EXPECT_FALSE(lookup::LoadKeywords(folder.path(), "Dream Signs", keywords));
    EXPECT_EQ(keywords, (Keys{"Earlier", "Falling"}));
}

TEST(LoadKeywords, KeepsKeysExactlyAsStoredAndAddsNothingForAnEmptyFile) {
    DictionaryFolder folder;
    folder.writeDictionary("Omens", records({" Crow ", "ORACLE", "Œil-de-bœuf"}));
    folder.writeDictionary("Empty", {});
    Keys keywords;
    EXPECT_TRUE(lookup::LoadKeywords(folder.path(), "Empty", keywords));
    EXPECT_TRUE(keywords.empty());
    lookup::LoadKeywords(folder.path(), "Omens", keywords);
    EXPECT_EQ(keywords, (Keys{" Crow ", "ORACLE", "Œil-de-bœuf"}));
}

TEST(LoadKeywords, UnreadableFilesAddNothingAndDoNotStopTheOthers) {
    DictionaryFolder folder;
    folder.writeDictionary("Omens", records({"Crow"}));
    folder.writeDictionary("Runes", records({"Fehu"}));
    jet::createDatabase(modDB::DictionaryPath(folder.path(), "Locked"),
                        {{"data", {{"names"}, {"Key"}, {"Link"}}}}, password("another password"));
    std::ofstream(modDB::DictionaryPath(folder.path(), "Damaged"), std::ios::binary)
        << std::string(4096 * 3, '\x01');
    // A database without the table the program reads.
    jet::createDatabase(modDB::DictionaryPath(folder.path(), "Other"), {{"words", {{"Key"}}}},
                        password(modDB::kDatabasePassword));
    // A table without the Key field.
    jet::createDatabase(modDB::DictionaryPath(folder.path(), "Keyless"), {{"data", {{"Word"}}}},
                        password(modDB::kDatabasePassword));
    jet::WriteSession keyless = jet::WriteSession::open(
        modDB::DictionaryPath(folder.path(), "Keyless"), modDB::kDatabasePassword);
    keyless.appendRow("data", {{"Word", std::string("Crow")}});
    keyless.commit();

    EXPECT_EQ(lookup::LoadAllKeywords(folder.path(), {"Omens", "Locked", "Damaged", "Other",
                                                      "Keyless", "Missing", "Runes"}),
              (Keys{"Crow", "Fehu"}));
}

TEST_F(TwoDictionaries, ChoosingADictionaryReplacesTheListWithItsKeywords) {
    lookup::SelectionOutcome outcome =
        lookup::ReactToSelection(folder.path(), {"Omens", "Runes"}, "Runes");
    EXPECT_TRUE(outcome.replaceList);
    EXPECT_EQ(outcome.keywords, (Keys{"Fehu", "Uruz"}));
    EXPECT_FALSE(outcome.missingDictionary);
}

TEST_F(TwoDictionaries, ChoosingAllLoadsEveryEntryWhateverIsCurrent) {
    lookup::SelectionOutcome outcome =
        lookup::ReactToSelection(folder.path(), {"Omens", "Runes"}, "  All ");
    EXPECT_TRUE(outcome.replaceList);
    EXPECT_EQ(outcome.keywords, (Keys{"Crow", "Fehu", "Crow", "Fehu", "Uruz"}));
    // "all" is not "All": it names a dictionary file.
    outcome = lookup::ReactToSelection(folder.path(), {"Omens", "Runes"}, "all");
    EXPECT_FALSE(outcome.replaceList);
    EXPECT_EQ(outcome.missingDictionary, "all");
}

TEST_F(TwoDictionaries, WithoutTheCatalogueEveryChoiceReportsTheEmptyNameAndKeepsTheList) {
    std::filesystem::remove(modDB::CataloguePath(folder.path()));
    for (const char* choice : {"All", "Omens"}) {
        lookup::SelectionOutcome outcome =
            lookup::ReactToSelection(folder.path(), {"Omens", "Runes"}, choice);
        EXPECT_FALSE(outcome.replaceList) << choice;
        EXPECT_EQ(outcome.missingDictionary, "") << choice;
    }
}

TEST(Selection, AMissingChosenFileIsReportedLoweredAndTrimmedAndTheListKept) {
    DictionaryFolder folder;
    folder.writeCatalogue({" Dream Signs "});
    lookup::SelectionOutcome outcome =
        lookup::ReactToSelection(folder.path(), {" Dream Signs "}, " Dream Signs ");
    EXPECT_FALSE(outcome.replaceList);
    EXPECT_EQ(outcome.missingDictionary, "dream signs");
}

TEST(Selection, AllStopsAtTheFirstMissingFileKeepingWhatCameBefore) {
    DictionaryFolder folder;
    folder.writeCatalogue({"Omens", "Runes", "Tarot"});
    folder.writeDictionary("Omens", records({"Crow"}));
    folder.writeDictionary("Tarot", records({"The Fool"}));
    lookup::SelectionOutcome outcome =
        lookup::ReactToSelection(folder.path(), {"Omens", "Runes", "Tarot"}, "All");
    EXPECT_TRUE(outcome.replaceList);
    EXPECT_EQ(outcome.keywords, (Keys{"Crow"}));
    EXPECT_EQ(outcome.missingDictionary, "runes");
}

TEST(Selection, TrailingSpaceNamesReadTheSpacedFileUnderAllAndTheTrimmedFileAlone) {
    DictionaryFolder folder;
    folder.writeCatalogue({"Omens "});
    folder.writeDictionary("Omens ", records({"Spaced"}));
    folder.writeDictionary("Omens", records({"Trimmed"}));
    EXPECT_EQ(lookup::LoadCatalogue(folder.path()).keywords, (Keys{"Spaced"}));
    EXPECT_EQ(lookup::ReactToSelection(folder.path(), {"Omens "}, "All").keywords,
              (Keys{"Spaced"}));
    EXPECT_EQ(lookup::ReactToSelection(folder.path(), {"Omens "}, "Omens ").keywords,
              (Keys{"Trimmed"}));
}

TEST(Selection, AnExistingButUnreadableChosenFileEmptiesTheListWithoutAMessage) {
    DictionaryFolder folder;
    folder.writeCatalogue({"Omens"});
    std::ofstream(modDB::DictionaryPath(folder.path(), "Omens"), std::ios::binary)
        << std::string(100, 'x');
    lookup::SelectionOutcome outcome = lookup::ReactToSelection(folder.path(), {"Omens"}, "Omens");
    EXPECT_TRUE(outcome.replaceList);
    EXPECT_TRUE(outcome.keywords.empty());
    EXPECT_FALSE(outcome.missingDictionary);
}

} // namespace
