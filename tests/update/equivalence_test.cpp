// The merge writes exactly what the row-by-row merge writes: on random program folders and
// update files, both run on copies of the same folder and every file is compared row by row.
// The cases are those where the two are meant to agree: safe names, a template present, no
// unlisted dictionary file in the way.
#include "row_by_row_merge.h"
#include "store/modDB.h"
#include "update/merge.h"
#include "update_files.h"

#include <gtest/gtest.h>
#include <random>

namespace update_test {
namespace {

class RandomCase {
public:
    RandomCase(std::uint64_t seed, int distinctLinks, bool sessionPerRow)
        : random_(seed), distinctLinks_(distinctLinks), sessionPerRow_(sessionPerRow) {}

    // Lays out a program folder; returns the update records.
    std::vector<Record> Build(const std::filesystem::path& folder, int maxRows, int maxExisting) {
        const std::vector<std::string> pool = {"Omens",       "Runes",   "Tarot",
                                               "Dream Signs", "Ägypten", "I Ching"};
        std::vector<CatalogueRecord> catalogue;
        std::vector<std::string> listed;
        for (const std::string& name : pool) {
            if (Chance(0.4))
                continue;
            std::string shown = Chance(0.2) ? name + " " : name;
            catalogue.push_back({Recase(shown), modDB::LowerUtf8(shown) + ".dll"});
            if (Chance(0.2)) // listed twice, in another case
                catalogue.push_back({Recase(shown), modDB::LowerUtf8(shown) + ".dll"});
            if (Chance(0.1))
                catalogue.push_back({"", ""});
            listed.push_back(shown);
            if (Chance(0.1))
                continue; // listed, but its file is missing
            std::vector<Record> rows;
            for (int i = Pick(0, maxExisting); i > 0; --i)
                rows.push_back(
                    {modDB::LowerUtf8(shown), "key" + std::to_string(Pick(0, 99)), Link()});
            WriteDictionary(modDB::DictionaryPath(folder.string(), shown), rows, sessionPerRow_);
        }
        std::shuffle(catalogue.begin(), catalogue.end(), random_);
        WriteCatalogue(modDB::CataloguePath(folder.string()), catalogue);

        std::vector<Record> templateRows;
        if (Chance(0.15))
            templateRows.push_back({"clone", "sample", Link()});
        WriteDictionary(modDB::TemplatePath(folder.string()), templateRows);

        const std::vector<std::string> newNames = {"runecasting", "Numerology", "ogham",
                                                   "Tea Leaves"};
        std::vector<Record> update;
        for (int i = Pick(1, maxRows); i > 0; --i) {
            std::string name = !listed.empty() && Chance(0.6)
                                   ? listed[Pick(0, static_cast<int>(listed.size()) - 1)]
                                   : newNames[Pick(0, static_cast<int>(newNames.size()) - 1)];
            update.push_back({Recase(name), "term" + std::to_string(i), Link()});
        }
        return update;
    }

private:
    bool Chance(double p) { return std::uniform_real_distribution<>(0, 1)(random_) < p; }
    int Pick(int low, int high) { return std::uniform_int_distribution<>(low, high)(random_); }

    std::string Recase(const std::string& name) {
        switch (Pick(0, 3)) {
        case 0:
            return modDB::LowerUtf8(name);
        case 1: {
            std::string upper = name;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return upper;
        }
        default:
            return name;
        }
    }

    // Few distinct addresses, so duplicates are common; some differ only in case, and their
    // lengths vary so rows fill pages unevenly.
    std::string Link() {
        std::string link = "http://example.org/" + std::to_string(Pick(0, distinctLinks_));
        if (Chance(0.2))
            link[7] = 'E';
        if (Chance(0.3))
            link += "/" + std::string(static_cast<std::size_t>(Pick(1, 300)), 'p');
        return link;
    }

    std::mt19937_64 random_;
    int distinctLinks_;
    bool sessionPerRow_;
};

void expectSameResult(std::uint64_t seed, int maxRows, int maxExisting, int distinctLinks = 40,
                      bool sessionPerRow = false) {
    ScratchFolder base("equivalence-base"), rowByRow("equivalence-rows"),
        merged("equivalence-fast");
    std::vector<Record> update =
        RandomCase(seed, distinctLinks, sessionPerRow).Build(base.path(), maxRows, maxExisting);
    ScratchFolder elsewhere("equivalence-update");
    const std::string updateFile = elsewhere.file("update.mdb");
    WriteDictionary(updateFile, update);
    CopyFolder(base.path(), rowByRow.path());
    CopyFolder(base.path(), merged.path());

    ASSERT_TRUE(update_reference::RowByRowMerge(updateFile, rowByRow.str()));
    update::MergeReport report = update::MergeUpdateFile(updateFile, merged.str());

    auto expected = FolderContents(rowByRow.path());
    auto actual = FolderContents(merged.path());
    ASSERT_EQ(actual.size(), expected.size()) << "seed " << seed;
    for (const auto& [file, rows] : expected) {
        ASSERT_TRUE(actual.count(file)) << "seed " << seed << ": " << file;
        EXPECT_EQ(actual[file], rows) << "seed " << seed << ": " << file;
    }
    // What the merge counts adds up: every update row is added, a duplicate or a failure
    // (here only a listed dictionary whose file is missing can fail).
    EXPECT_EQ(report.added + report.duplicates + report.failed(), update.size()) << "seed " << seed;
    for (const update::MergeFailure& failure : report.failures)
        EXPECT_NE(failure.reason.find("is missing"), std::string::npos) << failure.reason;
}

TEST(Equivalence, SmallRandomFoldersAndUpdates) {
    for (std::uint64_t seed = 1; seed <= 150; ++seed) {
        expectSameResult(seed, 30, 20);
        if (HasFailure())
            return;
    }
}

// Dictionaries spanning many pages, so appended rows meet full pages.
TEST(Equivalence, DictionariesOfManyPages) {
    for (std::uint64_t seed = 1001; seed <= 1006; ++seed) {
        expectSameResult(seed, 400, 1500, 3000);
        if (HasFailure())
            return;
    }
}

// Files written a record at a time keep full pages in their free-space map, so a merge that
// appends many rows in one session must place each row as a session per record would.
TEST(Equivalence, DictionariesWrittenARecordAtATime) {
    for (std::uint64_t seed = 1101; seed <= 1106; ++seed) {
        expectSameResult(seed, 400, 600, 3000, true);
        if (HasFailure())
            return;
    }
}

} // namespace
} // namespace update_test
