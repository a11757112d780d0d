// Where the merge departs from the row-by-row merge on purpose: failures are counted with
// their reasons, a dictionary file is never replaced, names never leave the program folder,
// and the catalogue lists only files that were written.
#include "jet/check.h"
#include "jet/create.h"
#include "store/modDB.h"
#include "update/dictionary_name.h"
#include "update/merge.h"
#include "update/merge_report.h"
#include "update_files.h"

#include <fstream>
#include <gtest/gtest.h>

namespace update_test {
namespace {

std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

class MergeMends : public ::testing::Test {
protected:
    ScratchFolder outside{"mends-outside"};
    std::filesystem::path program = outside.path() / "program";

    void SetUp() override {
        std::filesystem::create_directories(program);
        WriteProgramFolder(program.string(), {"Omens"});
    }
    update::MergeReport Merge(const std::vector<Record>& records) {
        std::string updateFile = outside.file("update.mdb");
        WriteDictionary(updateFile, records);
        return update::MergeUpdateFile(updateFile, program.string());
    }
    std::string File(const std::string& name) const { return (program / name).string(); }
};

TEST_F(MergeMends, EveryRecordThatCannotBeWrittenIsCountedWithItsReason) {
    WriteCatalogue(File("divination.dll"), {{"Omens", "omens.dll"}, {"Ghost", "ghost.dll"}});
    jet::CreateOptions options;
    options.password = modDB::kDatabasePassword;
    jet::createDatabase(File("omens.dll"),
                        {{"data",
                          {{"names", jet::ColumnType::Text},
                           {"Key", jet::ColumnType::Text, 10},
                           {"Link", jet::ColumnType::Memo}}}},
                        options);
    update::MergeReport report = Merge({{"Omens", "Raven", "http://o/raven"},
                                        {"Omens", "Far too long a key", "http://o/long"},
                                        {"Ghost", "Boo", "http://g/boo"},
                                        {"Omens", "Raven", "http://o/raven"}});
    EXPECT_EQ(report.added, 1u);
    EXPECT_EQ(report.duplicates, 1u);
    ASSERT_EQ(report.failed(), 2u);
    EXPECT_EQ(report.failures[0].row, 2u);
    EXPECT_NE(report.failures[0].reason.find("omens.dll refused the record"), std::string::npos)
        << report.failures[0].reason;
    EXPECT_EQ(report.failures[1].row, 3u);
    EXPECT_NE(report.failures[1].reason.find("ghost.dll is missing"), std::string::npos);
    EXPECT_EQ(ReadDictionary(File("omens.dll")).size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(File("ghost.dll")));

    update::ClosingMessage message = update::ClosingMessageFor(report);
    EXPECT_TRUE(message.warning);
    EXPECT_EQ(message.text.find("Successfully"), std::string::npos);
    EXPECT_NE(message.text.find("1 record added, 1 skipped as a duplicate, 2 failed"),
              std::string::npos);
    EXPECT_NE(message.text.find("\rrow 3 (Ghost, Key \"Boo\"): "), std::string::npos);
}

TEST_F(MergeMends, OnlyAMergeWithoutFailuresReportsSuccess) {
    update::MergeReport report = Merge({{"Omens", "Raven", "http://o/raven"}});
    update::ClosingMessage message = update::ClosingMessageFor(report);
    EXPECT_FALSE(message.warning);
    EXPECT_EQ(message.text,
              "Augurlex Successfully Updated\rPlease Restart the Dictionary Software");

    update::MergeReport many;
    for (int i = 1; i <= 7; ++i)
        many.failures.push_back(
            {static_cast<std::uint64_t>(i), "x", "k", "why " + std::to_string(i)});
    std::string text = update::ClosingMessageFor(many).text;
    EXPECT_NE(text.find("why 5"), std::string::npos);
    EXPECT_EQ(text.find("why 6"), std::string::npos); // only the first reasons
}

TEST_F(MergeMends, AnUnlistedDictionaryFileThatExistsIsAppendedToNotReplaced) {
    WriteDictionary(File("runes.dll"), {{"runes", "Fehu", "http://r/fehu"}});
    update::MergeReport report = Merge({{"Runes", "Fehu", "http://r/fehu"},
                                        {"Runes", "Uruz", "http://r/uruz"},
                                        {"runes", "Uruz", "http://r/uruz"}});
    EXPECT_TRUE(report.succeeded());
    EXPECT_EQ(report.added, 1u);
    EXPECT_EQ(report.duplicates, 2u);
    EXPECT_EQ(ReadDictionary(File("runes.dll")),
              (std::vector<Record>{{"runes", "Fehu", "http://r/fehu"},
                                   {"runes", "Uruz", "http://r/uruz"}}));
    EXPECT_EQ(ReadCatalogue(File("divination.dll")).back(),
              (CatalogueRecord{"Runes", "runes.dll"}));
}

TEST_F(MergeMends, AnUnlistedFileThatIsNotADictionaryIsLeftAsItIs) {
    std::ofstream(File("tarot.dll")) << "someone's notes";
    update::MergeReport report = Merge({{"Tarot", "Fool", "http://t/fool"}});
    ASSERT_EQ(report.failed(), 1u);
    EXPECT_NE(report.failures[0].reason.find("tarot.dll cannot be read"), std::string::npos);
    EXPECT_EQ(readBytes(File("tarot.dll")), "someone's notes");
    EXPECT_EQ(ReadCatalogue(File("divination.dll")).size(), 1u);
}

TEST_F(MergeMends, NamesThatAreNotPlainFileNamesAreNeverUsedAsPaths) {
    const std::vector<std::string> unsafe = {"",
                                             "..",
                                             ".",
                                             "../outside",
                                             "sub/dir",
                                             "back\\slash",
                                             "bell\a",
                                             "new\nline",
                                             "del\x7f",
                                             "c1\xc2\x85",
                                             std::string(201, 'a'),
                                             "/etc/passwd"};
    std::vector<Record> records;
    for (const std::string& name : unsafe)
        records.push_back({name, "k", "http://x/" + std::to_string(records.size())});
    records.push_back({std::string(200, 'a'), "k", "http://x/longest"}); // long but allowed
    auto before = FolderContents(outside.path());

    update::MergeReport report = Merge(records);
    EXPECT_EQ(report.failed(), unsafe.size());
    EXPECT_EQ(report.added, 1u);
    for (const update::MergeFailure& failure : report.failures)
        EXPECT_NE(failure.reason.find("dictionary name"), std::string::npos) << failure.reason;

    // Outside the program folder only the update file appeared; inside, the catalogue and the
    // one allowed dictionary.
    auto after = FolderContents(outside.path());
    after.erase("update.mdb");
    EXPECT_EQ(after, before);
    EXPECT_EQ(ReadCatalogue(File("divination.dll")).size(), 2u);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(program),
                            std::filesystem::directory_iterator()),
              4);
}

TEST_F(MergeMends, WithoutATemplateNoDictionaryIsListedThatIsNotThere) {
    std::filesystem::remove(File("clone.dll"));
    update::MergeReport report = Merge({{"Runes", "Fehu", "http://r/fehu"},
                                        {"Runes", "Uruz", "http://r/uruz"},
                                        {"Omens", "Raven", "http://o/raven"}});
    EXPECT_EQ(report.failed(), 2u);
    EXPECT_EQ(report.added, 1u);
    EXPECT_NE(report.failures[0].reason.find("clone.dll cannot be read"), std::string::npos);
    EXPECT_EQ(ReadCatalogue(File("divination.dll")),
              (std::vector<CatalogueRecord>{{"Omens", "omens.dll"}}));
    EXPECT_FALSE(std::filesystem::exists(File("runes.dll")));
}

TEST_F(MergeMends, WrittenFilesAreSoundAndLeaveNoScratchFilesBehind) {
    Merge({{"Omens", "Raven", "http://o/raven"}, {"Runes", "Fehu", "http://r/fehu"}});
    for (const auto& entry : std::filesystem::directory_iterator(program)) {
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
        EXPECT_EQ(jet::checkDatabase(entry.path(), modDB::kDatabasePassword),
                  std::vector<std::string>{})
            << entry.path();
    }
}

TEST_F(MergeMends, AnUnreadableCatalogueFailsEveryRecordAndReplacesNothing) {
    std::ofstream(File("divination.dll"), std::ios::trunc) << "damaged";
    update::MergeReport report = Merge({{"Omens", "Raven", "http://o/raven"}, {"Runes", "F", "f"}});
    EXPECT_EQ(report.failed(), 2u);
    EXPECT_TRUE(ReadDictionary(File("omens.dll")).empty());
    EXPECT_FALSE(std::filesystem::exists(File("runes.dll")));
    EXPECT_EQ(readBytes(File("divination.dll")), "damaged");
}

TEST(DictionaryName, DisplayNameRaisesTheFirstCharacterOfAnyScript) {
    EXPECT_EQ(update::DisplayName("runecasting"), "Runecasting");
    EXPECT_EQ(update::DisplayName("oMENS"), "OMENS");
    EXPECT_EQ(update::DisplayName("ωμεν"), "Ωμεν");
    EXPECT_EQ(update::DisplayName("易经"), "易经");
    EXPECT_EQ(update::DisplayName(" tarot"), " tarot");
    EXPECT_EQ(update::DisplayName(""), "");
    EXPECT_FALSE(update::UnsafeDictionaryName("Dream Signs"));
    EXPECT_FALSE(update::UnsafeDictionaryName("...")); // an odd name, but a file name
    // The program's own files are not dictionaries.
    EXPECT_TRUE(update::UnsafeDictionaryName("Divination"));
    EXPECT_TRUE(update::UnsafeDictionaryName("CLONE"));
}

} // namespace
} // namespace update_test
