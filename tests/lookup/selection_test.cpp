// Keyword loading and the dictionary selector, its start-up load and its reaction to a choice,
// over folders of our own.
#include "dictionary_folder.h"
#include "jet/create.h"
#include "lookup/dictionary_selection.h"
#include "lookup/keywords.h"
#include "store/file_problem.h"
#include "store/program_files.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace lookup {
namespace {

using Keys = std::vector<std::string>;

Keys texts(const KeywordRows& rows) {
    Keys keys;
    for (std::size_t i = 0; i < rows.size(); ++i)
        keys.emplace_back(rows[i]);
    return keys;
}

// Omens and Runes share "Fehu"; Omens holds "Crow" twice; Tarot is listed but has no file.
struct Selector : ::testing::Test {
    testing_support::DictionaryFolder folder;
    const Keys names{"Omens", "Runes", "Tarot"};
    void SetUp() override {
        folder.writeCatalogue({"Omens", "", "Runes", "Tarot"});
        write("Omens", {"Crow", "Fehu", "Crow"});
        write("Runes", {"Fehu", " Uruz "});
    }
    void write(const std::string& name, const Keys& keys) {
        std::vector<testing_support::Record> records;
        for (const std::string& key : keys)
            records.emplace_back(key, "https://example.org/" + key);
        folder.writeDictionary(name, records);
    }
    SelectionOutcome choose(const std::string& text) {
        return reactToSelection(folder.path(), names, text);
    }
    std::string file(const std::string& name) { return store::dictionaryPath(folder.path(), name); }
};

TEST_F(Selector, LoadKeywordsAppendsAWholeReadableFileOrNothing) {
    Keys keywords{"Earlier"};
    EXPECT_TRUE(loadKeywords(folder.path(), "RUNES", keywords));
    EXPECT_EQ(keywords, (Keys{"Earlier", "Fehu", " Uruz "}));
    EXPECT_FALSE(loadKeywords(folder.path(), " Runes", keywords)); // the name is not trimmed
    write("Empty", {});
    EXPECT_TRUE(loadKeywords(folder.path(), "Empty", keywords));
    jet::createDatabase(file("Locked"), {{"data", {{"Key"}}}}, {"another password", {}});
    std::ofstream(file("Damaged")) << std::string(12288, '\x01');
    jet::createDatabase(file("Keyless"), {{"data", {{"Word"}}}}, {store::kDatabasePassword, {}});
    std::ofstream(file("Blank")).flush();
    std::filesystem::copy_file(file("Omens"), file("Cut"));
    std::filesystem::resize_file(file("Cut"), std::filesystem::file_size(file("Cut")) / 2);
    EXPECT_EQ(loadAllKeywords(folder.path(), {"Locked", "Damaged", "Runes", "Keyless", "Tarot"}),
              (Keys{"Fehu", " Uruz "}));
    // Why each cannot be read, for the start page and the message of a choice.
    using store::FileProblem;
    const std::vector<std::pair<std::string, std::optional<FileProblem>>> expected{
        {"Runes", std::nullopt},
        {"Locked", FileProblem::OtherPassword},
        {"Damaged", FileProblem::NotADatabase},
        {"Keyless", FileProblem::Damaged},
        {"Blank", FileProblem::Empty},
        {"Cut", FileProblem::Damaged},
        {"Tarot", FileProblem::Missing}};
    for (const auto& [name, problem] : expected) {
        const DictionaryStatus status = dictionaryStatus(folder.path(), name);
        EXPECT_EQ(status.problem, problem) << name;
        EXPECT_EQ(status.keywordCount, problem ? 0u : 2u) << name;
        EXPECT_EQ(status.path, file(name));
        if (problem) // the engine's reason names the file
            EXPECT_EQ(status.reason.rfind(file(name) + ": ", 0), 0u) << status.reason;
    }
}

TEST_F(Selector, ChoosingADictionaryReplacesTheListWithItsKeywordsOrReportsItMissing) {
    EXPECT_EQ(choose(" Runes ").keywords, (Keys{"Fehu", " Uruz "}));
    EXPECT_TRUE(choose(" Runes ").replaceList);
    EXPECT_FALSE(choose(" Runes ").missingDictionary);
    EXPECT_FALSE(choose(" TAROT ").replaceList);
    EXPECT_EQ(choose(" TAROT ").missingDictionary, "tarot"); // lowered and trimmed
    EXPECT_EQ(choose("all").missingDictionary, "all");       // "all" is not "All"
    std::ofstream(file("Tarot")) << "not a database";        // there, but unreadable: told why
    const SelectionOutcome unreadable = choose(" Tarot ");
    EXPECT_FALSE(unreadable.replaceList);
    EXPECT_FALSE(unreadable.missingDictionary);
    ASSERT_TRUE(unreadable.unreadableDictionary);
    const std::string message = unreadableDictionaryMessage(*unreadable.unreadableDictionary);
    EXPECT_EQ(message.substr(0, message.find('\r') + file("Tarot").size() + 3),
              "Tarot Dictionary cannot be read: the file is not an Access database\r" +
                  file("Tarot") + ": ");
    EXPECT_TRUE(message.ends_with("\rPlease download tarot Dictionary Database\rOr Reinstall the "
                                  "Software"));
}

// Start-up lists every name and every keyword in order with duplicates; so does "All", which
// stops at the first missing file keeping what came before.
TEST_F(Selector, StartUpAndAllLoadEveryEntryAndAllStopsAtTheFirstMissingFile) {
    CatalogueContent content = loadCatalogue(folder.path());
    EXPECT_EQ(content.dictionaryNames, names);
    EXPECT_EQ(texts(content.keywords), (Keys{"Crow", "Fehu", "Crow", "Fehu", " Uruz "}));
    // Read straight, the same rows.
    EXPECT_EQ(texts(loadCatalogue(folder.path(), nullptr).keywords), texts(content.keywords));
    SelectionOutcome outcome = choose("  All ");
    EXPECT_TRUE(outcome.replaceList);
    EXPECT_EQ(outcome.keywords, texts(content.keywords));
    EXPECT_EQ(outcome.missingDictionary, "tarot");
}

TEST_F(Selector, WithoutTheCatalogueEveryChoiceReportsTheEmptyNameAndKeepsTheList) {
    std::filesystem::remove(store::cataloguePath(folder.path()));
    for (const char* choice : {"All", "Omens"}) {
        EXPECT_FALSE(choose(choice).replaceList) << choice;
        EXPECT_EQ(choose(choice).missingDictionary, "") << choice;
    }
    EXPECT_EQ(missingDictionaryMessage(""), " Dictionary is missing\rPlease download  Dictionary "
                                            "Database\rOr Reinstall the Software");
}

TEST_F(Selector, ANameWithTrailingSpacesReadsTheSpacedFileUnderAllAndTheTrimmedOneAlone) {
    folder.writeCatalogue({"Omens "});
    write("Omens ", {"Spaced"});
    EXPECT_EQ(texts(loadCatalogue(folder.path()).keywords), (Keys{"Spaced"}));
    EXPECT_EQ(reactToSelection(folder.path(), {"Omens "}, "All").keywords, (Keys{"Spaced"}));
    EXPECT_EQ(reactToSelection(folder.path(), {"Omens "}, "Omens ").keywords,
              (Keys{"Crow", "Fehu", "Crow"}));
}

} // namespace
} // namespace lookup
