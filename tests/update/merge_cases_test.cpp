// The merge's documented cases, run on the merge and on the row-by-row merge it replaces (both
// must give the same files), and the update file's own edge cases.
#include "row_by_row_merge.h"
#include "store/modDB.h"
#include "update/merge.h"
#include "update_files.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace update_test {
namespace {

using Merger = std::function<void(const std::string& updateFile, const std::string& folder)>;

struct NamedMerger {
    const char* name;
    Merger run;
};

const NamedMerger kMergers[] = {{"Merge",
                                 [](const std::string& u, const std::string& f) {
                                     update::MergeReport report = update::MergeUpdateFile(u, f);
                                     EXPECT_TRUE(report.succeeded())
                                         << report.failures.front().reason;
                                 }},
                                {"RowByRow", [](const std::string& u, const std::string& f) {
                                     EXPECT_TRUE(update_reference::RowByRowMerge(u, f));
                                 }}};

class MergeCases : public ::testing::TestWithParam<NamedMerger> {
protected:
    ScratchFolder folder{"merge-cases"};
    ScratchFolder elsewhere{"merge-update"};

    void Merge(const std::vector<Record>& updateRecords) {
        std::string updateFile = elsewhere.file("update.mdb");
        WriteDictionary(updateFile, updateRecords);
        GetParam().run(updateFile, folder.str());
    }
    std::vector<Record> Dictionary(const std::string& fileName) {
        return ReadDictionary(folder.file(fileName));
    }
    std::vector<CatalogueRecord> Catalogue() {
        return ReadCatalogue(folder.file("divination.dll"));
    }
};

TEST_P(MergeCases, UpperCaseNameGoesIntoTheListedDictionaryInLowerCase) {
    WriteProgramFolder(folder.str(), {"Omens"});
    Merge({{"OMENS", "Raven", "http://example.org/raven"}});
    EXPECT_EQ(Dictionary("omens.dll"),
              (std::vector<Record>{{"omens", "Raven", "http://example.org/raven"}}));
    EXPECT_EQ(Catalogue(), (std::vector<CatalogueRecord>{{"Omens", "omens.dll"}}));
}

TEST_P(MergeCases, NewDictionaryIsListedAndMadeFromTheTemplate) {
    WriteProgramFolder(folder.str(), {"Omens"});
    Merge({{"runecasting", "Fehu", "http://example.org/fehu"}});
    EXPECT_EQ(Catalogue(), (std::vector<CatalogueRecord>{{"Omens", "omens.dll"},
                                                         {"Runecasting", "runecasting.dll"}}));
    EXPECT_EQ(Dictionary("runecasting.dll"),
              (std::vector<Record>{{"runecasting", "Fehu", "http://example.org/fehu"}}));
    EXPECT_TRUE(Dictionary("clone.dll").empty());
}

TEST_P(MergeCases, SecondRecordOfANewDictionaryIsAddedUnlessItsLinkIsTheFirstOnes) {
    WriteProgramFolder(folder.str(), {});
    Merge({{"Runes", "Fehu", "http://r/fehu"},
           {"runes", "Uruz", "http://r/uruz"},
           {"RUNES", "Fehu again", "http://r/fehu"},
           {"Tarot", "Fool", "http://t/fool"},
           {"tarot", "Fool too", "http://t/fool"}});
    EXPECT_EQ(Catalogue(),
              (std::vector<CatalogueRecord>{{"Runes", "runes.dll"}, {"Tarot", "tarot.dll"}}));
    EXPECT_EQ(Dictionary("runes.dll"), (std::vector<Record>{{"runes", "Fehu", "http://r/fehu"},
                                                            {"runes", "Uruz", "http://r/uruz"}}));
    EXPECT_EQ(Dictionary("tarot.dll"), (std::vector<Record>{{"tarot", "Fool", "http://t/fool"}}));
}

TEST_P(MergeCases, LinksAreComparedExactlyAndKeysNotAtAll) {
    WriteProgramFolder(folder.str(), {"Omens"});
    WriteDictionary(folder.file("omens.dll"), {{"omens", "Raven", "http://o/Raven"}});
    Merge({{"Omens", "Crow", "http://o/Raven"},   // the address is there under another Key
           {"Omens", "Raven", "http://o/raven"},  // differs only in case: a new address
           {"Omens", "Raven", "http://o/raven"},  // added earlier in this merge
           {"Omens", "Raven", "http://o/raven "}, // a trailing space makes it another
           {"omens", "Owl", "http://o/owl"}});
    EXPECT_EQ(Dictionary("omens.dll"), (std::vector<Record>{{"omens", "Raven", "http://o/Raven"},
                                                            {"omens", "Raven", "http://o/raven"},
                                                            {"omens", "Raven", "http://o/raven "},
                                                            {"omens", "Owl", "http://o/owl"}}));
}

TEST_P(MergeCases, CatalogueNamesMatchIgnoringCaseButNotSpaces) {
    WriteProgramFolder(folder.str(), {"Dream Signs", "OMENS", "omens"});
    WriteDictionary(folder.file("tarot .dll"), {});
    WriteCatalogue(folder.file("divination.dll"), {{"Dream Signs", "dream signs.dll"},
                                                   {"OMENS", "omens.dll"},
                                                   {"omens", "omens.dll"},
                                                   {"Tarot ", "tarot .dll"}});
    Merge({{"dream SIGNS", "Falling", "http://d/falling"},
           {"Omens", "Raven", "http://o/raven"},
           {"Tarot ", "Fool", "http://t/fool"},
           {"tarot", "Tower", "http://t/tower"}});
    EXPECT_EQ(Dictionary("dream signs.dll").size(), 1u);
    EXPECT_EQ(Dictionary("omens.dll").size(), 1u); // listed twice, written once
    EXPECT_EQ(Dictionary("tarot .dll"), (std::vector<Record>{{"tarot ", "Fool", "http://t/fool"}}));
    EXPECT_EQ(Dictionary("tarot.dll"), (std::vector<Record>{{"tarot", "Tower", "http://t/tower"}}));
    EXPECT_EQ(Catalogue().back(), (CatalogueRecord{"Tarot", "tarot.dll"}));
}

TEST_P(MergeCases, DisplayNameRaisesOnlyTheFirstCharacter) {
    WriteProgramFolder(folder.str(), {});
    Merge({{"ägyptische ZEICHEN", "Ankh", "http://a/ankh"}, {"i ching", "Qian", "http://i/qian"}});
    EXPECT_EQ(Catalogue(),
              (std::vector<CatalogueRecord>{{"Ägyptische ZEICHEN", "ägyptische zeichen.dll"},
                                            {"I ching", "i ching.dll"}}));
}

INSTANTIATE_TEST_SUITE_P(BothMerges, MergeCases, ::testing::ValuesIn(kMergers),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(UpdateFile, EmptyOrUnreadableGivesNothingToUpdateAndChangesNothing) {
    ScratchFolder folder("merge-empty");
    WriteProgramFolder(folder.str(), {"Omens"});
    auto before = FolderContents(folder.path());

    WriteDictionary(folder.file("empty.mdb"), {});
    update::MergeReport empty = update::MergeUpdateFile(folder.file("empty.mdb"), folder.str());
    EXPECT_TRUE(empty.nothingToUpdate);
    EXPECT_TRUE(empty.updateFileProblem.empty());

    for (const char* name : {"garbage.mdb", "missing.mdb", "divination.dll"}) {
        if (std::string(name) == "garbage.mdb")
            std::ofstream(folder.file(name)) << "not a database";
        update::MergeReport report = update::MergeUpdateFile(folder.file(name), folder.str());
        EXPECT_TRUE(report.nothingToUpdate) << name;
        EXPECT_FALSE(report.updateFileProblem.empty()) << name;
    }
    // The catalogue opens as a database but has no Key or Link: not an update file.
    for (const char* name : {"garbage.mdb", "missing.mdb"})
        EXPECT_FALSE(update_reference::RowByRowMerge(folder.file(name), folder.str())) << name;
    std::filesystem::remove(folder.file("empty.mdb"));
    std::filesystem::remove(folder.file("garbage.mdb"));
    EXPECT_EQ(FolderContents(folder.path()), before);
}

// Counts the format allows beyond 32767 rows: every update row is walked, and a duplicate
// past row 32768 of a dictionary is still found.
TEST(UpdateFile, RowCountsBeyondSixteenBitsWork) {
    ScratchFolder folder("merge-large");
    WriteProgramFolder(folder.str(), {"Omens"});
    std::vector<Record> existing, update;
    for (int i = 0; i < 33000; ++i)
        existing.push_back({"omens", "k" + std::to_string(i), "http://o/" + std::to_string(i)});
    WriteDictionary(folder.file("omens.dll"), existing);
    for (int i = 32990; i < 66000; ++i)
        update.push_back({"Omens", "k", "http://o/" + std::to_string(i)});
    WriteDictionary(folder.file("update.mdb"), update);

    update::MergeReport report = update::MergeUpdateFile(folder.file("update.mdb"), folder.str());
    EXPECT_EQ(report.rowsRead, 33010u);
    EXPECT_EQ(report.duplicates, 10u);
    EXPECT_EQ(report.added, 33000u);
    EXPECT_TRUE(report.succeeded());
    std::vector<Record> after = ReadDictionary(folder.file("omens.dll"));
    ASSERT_EQ(after.size(), 66000u);
    EXPECT_EQ(after.back().link, "http://o/65999");
}

} // namespace
} // namespace update_test
