// The merge into dictionary files that carry indexes, as Access-made dictionaries often do (a
// unique index on Link, a plain one on Key): the bundled dictionaries made indexed take the same
// records as the plain ones and stay consistent, in the Jet 4 and the Access 2010 format, and a
// record that only the unique index refuses fails with the index named.
#include "dictionary_folder.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "store/program_files.h"
#include "update/merge.h"
#include "update/merge_report.h"

#include <gmock/gmock.h>

namespace update {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::HasSubstr;

// The dictionary file at `path` written again with the same records and the indexes, in the
// Jet 4 format with the program's password or in the Access 2010 format, which keeps none.
void rewriteIndexed(const std::string& path, jet::Version version = jet::Version::Jet4) {
    const std::vector<std::string> records = readRows(path);
    fs::remove(path);
    const bool ace = version == jet::Version::Ace14;
    jet::createDatabase(path,
                        {{"data",
                          {{"names"}, {"Key"}, {"Link", jet::ColumnType::Memo}},
                          {{{"Link"}, true}, {{"Key"}}}}},
                        {ace ? "" : store::kDatabasePassword, 45000.0, version});
    jet::WriteSession session = jet::WriteSession::open(path, store::kDatabasePassword);
    for (const std::string& record : records) {
        const std::size_t tab1 = record.find('\t');
        const std::size_t tab2 = record.find('\t', tab1 + 1);
        session.appendRow("data", {{"names", record.substr(0, tab1)},
                                   {"Key", record.substr(tab1 + 1, tab2 - tab1 - 1)},
                                   {"Link", record.substr(tab2 + 1)}});
    }
    session.commit();
}

// The bundled program files into `folder` by their list: the catalogue, the template and the
// dictionaries the catalogue names, never whatever else an earlier build left in its folder.
void copyBundledFiles(const std::string& folder) {
    const std::string bundled = AUGURLEX_BUNDLED_DIR;
    std::vector<std::string> paths{store::cataloguePath(bundled), store::templatePath(bundled)};
    for (const std::string& row : readRows(paths[0]))
        paths.push_back(bundled + "/" + row.substr(row.find('\t') + 1)); // names, Database
    fs::create_directories(folder);
    for (const fs::path path : paths)
        fs::copy_file(path, fs::path(folder) / path.filename());
}

class IndexedMerge : public ::testing::Test {
protected:
    DictionaryFolder outside;
    const std::string plain = outside.file("plain");
    const std::string indexed = outside.file("indexed");
    const std::string ace = outside.file("ace"); // indexed, in the Access 2010 format

    void SetUp() override {
        copyBundledFiles(plain);
        copyBundledFiles(indexed);
        for (const auto& [name, records] : folderContents(indexed))
            if (name != "divination.dll")
                rewriteIndexed(indexed + "/" + name);
        fs::copy(indexed, ace);
        for (const auto& [name, records] : folderContents(ace))
            if (name != "divination.dll")
                rewriteIndexed(ace + "/" + name, jet::Version::Ace14);
    }
    MergeReport merge(const std::string& folder, const Rows& records) {
        writeDictionaryFile(outside.file("update.mdb"), records);
        return mergeUpdateFile(outside.file("update.mdb"), folder);
    }
    void expectClean(const std::string& folder) {
        for (const auto& [name, records] : folderContents(folder))
            EXPECT_EQ(jet::checkDatabase(folder + "/" + name, store::kDatabasePassword),
                      std::vector<std::string>{})
                << name;
    }
};

TEST_F(IndexedMerge, BundledDictionariesMadeIndexedTakeTheSameRecordsAsThePlainOnes) {
    ASSERT_EQ(folderContents(plain), folderContents(indexed));
    Rows update;
    for (const auto& [name, records] : folderContents(plain)) {
        if (name == "divination.dll" || name == "clone.dll" || records.empty())
            continue;
        const std::string dictionary = name.substr(0, name.size() - 4);
        const std::string first = records.front().substr(records.front().rfind('\t') + 1);
        update.push_back({dictionary, "Again", first}); // a link it holds: skipped
        for (int i = 0; i < 30; ++i)
            update.push_back({dictionary, "Term " + std::to_string(i),
                              "https://example.org/" + dictionary + "/" + std::to_string(i)});
    }
    update.push_back({"Scrying", "Mirror", "https://example.org/scrying/mirror"}); // a new one
    update.push_back({"Scrying", "Bowl", "https://example.org/scrying/bowl"});

    const MergeReport intoPlain = merge(plain, update);
    const MergeReport intoIndexed = merge(indexed, update);
    EXPECT_TRUE(intoIndexed.succeeded()) << reportText(intoIndexed);
    EXPECT_EQ(countsLine(intoIndexed), countsLine(intoPlain));
    EXPECT_GT(intoIndexed.added, 300u);
    EXPECT_EQ(folderContents(indexed), folderContents(plain));
    expectClean(indexed);
    // An .accdb update file into dictionaries in the Access 2010 format: the same records.
    writeDictionaryFile(outside.file("update.accdb"), update);
    rewriteIndexed(outside.file("update.accdb"), jet::Version::Ace14);
    EXPECT_EQ(countsLine(mergeUpdateFile(outside.file("update.accdb"), ace)),
              countsLine(intoPlain));
    EXPECT_EQ(folderContents(ace), folderContents(plain));
    expectClean(ace);
}

// The merge skips a link only when it is there letter for letter; the index, in the "General"
// order, takes one that differs only in case for the same key and refuses it.
TEST_F(IndexedMerge, ALinkThatOnlyTheUniqueIndexHoldsTwiceFailsNamingTheIndex) {
    const std::vector<std::string> omens = readRows(store::dictionaryPath(indexed, "Omens"));
    ASSERT_FALSE(omens.empty());
    std::string link = omens.front().substr(omens.front().rfind('\t') + 1);
    for (char& c : link)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const Rows update = {{"Omens", "Shouted", link}, {"Omens", "Quiet", "https://example.org/q"}};

    EXPECT_TRUE(merge(plain, update).succeeded());
    const MergeReport report = merge(indexed, update);
    EXPECT_EQ(countsLine(report), "1 record added, 0 skipped as duplicates, 1 failed");
    ASSERT_EQ(report.failed(), 1u);
    EXPECT_THAT(failureLine(report.failures[0]),
                AllOf(HasSubstr("row 1 (Omens, Key \"Shouted\")"), HasSubstr("index \"Link\""),
                      HasSubstr("duplicates")));
    EXPECT_EQ(readRows(store::dictionaryPath(indexed, "Omens")).back(),
              "omens\tQuiet\thttps://example.org/q");
    expectClean(indexed);
}

} // namespace
} // namespace update
