// The merge on folders of our own: the documented cases, where it mends the row-by-row merge it
// replaced, and what every failure leaves behind, checked against the literal records meant to
// be written.
#include "../store/without_permission_override.h"
#include "dictionary_folder.h"
#include "jet/atomic_file.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/error.h"
#include "read/state.h"
#include "store/files_for_appending.h"
#include "store/program_files.h"
#include "update/merge.h"
#include "update/merge_report.h"

#include <fstream>
#include <gmock/gmock.h>
#include <iterator>
#include <tuple>

namespace update {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using ::testing::AllOf;
using ::testing::HasSubstr;

class Merge : public ::testing::Test {
protected:
    DictionaryFolder outside; // the update file, and the program folder below it
    const std::string program = outside.file("program");

    void SetUp() override {
        fs::create_directories(program);
        writeProgramFolder(program, {"Omens"});
    }
    // With the engine's commits numbered `failing` (1 the first) failing as on a full disk.
    MergeReport merge(const Rows& records, std::set<int> failing = {}) {
        writeDictionaryFile(outside.file("update.mdb"), records);
        jet::setCommitHookForTesting([failing, n = 0](jet::CommitStep step) mutable {
            if (step == jet::CommitStep::CreateTemp)
                ++n;
            if (step == jet::CommitStep::WriteTemp && failing.count(n))
                throw jet::Error(jet::ErrorKind::Io, "No space left on device");
        });
        MergeReport report = mergeUpdateFile(outside.file("update.mdb"), program);
        jet::setCommitHookForTesting({});
        return report;
    }
    std::string file(const std::string& name) const { return program + "/" + name; }
    Lines rows(const std::string& name) const { return readRows(file(name)); }
};

TEST_F(Merge, RecordsGoInLowerCaseAndALinkAlreadyThereIsSkippedComparedExactly) {
    writeDictionaryFile(file("omens.dll"), {{"omens", "Raven", "http://o/Raven"}});
    MergeReport report = merge({{"OMENS", "Crow", "http://o/Raven"},   // there, under another Key
                                {"Omens", "Raven", "http://o/raven"},  // differs in case: new
                                {"omens", "Raven", "http://o/raven"},  // added earlier
                                {"Omens", "Raven", "http://o/raven "}, // a trailing space: new
                                {"omens", "Owl", "http://o/owl"}});
    EXPECT_EQ(rows("omens.dll"),
              (Lines{"omens\tRaven\thttp://o/Raven", "omens\tRaven\thttp://o/raven",
                     "omens\tRaven\thttp://o/raven ", "omens\tOwl\thttp://o/owl"}));
    EXPECT_EQ(rows("divination.dll"), Lines{"Omens\tomens.dll"});
    EXPECT_EQ(countsLine(report), "3 records added, 2 skipped as duplicates, 0 failed");
}

TEST_F(Merge, ANewDictionaryIsListedAndHoldsTheTemplatesRecordsAndItsOwn) {
    writeDictionaryFile(file("clone.dll"), {{"clone", "Sample", "http://s"}});
    MergeReport report = merge({{"runecasting", "Fehu", "http://r/fehu"},
                                {"RUNECASTING", "Uruz", "http://r/uruz"},
                                {"Runecasting", "Fehu again", "http://r/fehu"},
                                {"runecasting", "Sample too", "http://s"},      // the template's
                                {"ägyptische ZEICHEN", "Sample", "http://s"}}); // its first: added
    EXPECT_EQ(rows("divination.dll"), (Lines{"Omens\tomens.dll", "Runecasting\trunecasting.dll",
                                             "Ägyptische ZEICHEN\tägyptische zeichen.dll"}));
    EXPECT_EQ(rows("runecasting.dll"),
              (Lines{"clone\tSample\thttp://s", "runecasting\tFehu\thttp://r/fehu",
                     "runecasting\tUruz\thttp://r/uruz"}));
    EXPECT_EQ(rows("ägyptische zeichen.dll"),
              (Lines{"clone\tSample\thttp://s", "ägyptische zeichen\tSample\thttp://s"}));
    EXPECT_EQ(rows("clone.dll"), Lines{"clone\tSample\thttp://s"});
    EXPECT_EQ(report.newDictionaries, (Lines{"Runecasting", "Ägyptische ZEICHEN"}));
    for (const auto& entry : fs::directory_iterator(program)) { // no scratch files
        EXPECT_FALSE(entry.path().filename().string().starts_with(".")) << entry.path();
        EXPECT_EQ(jet::checkDatabase(entry.path(), store::kDatabasePassword), Lines{});
    }
}

TEST_F(Merge, AnUpdateFileWithoutRecordsOrUnreadableIsNothingToUpdate) {
    const auto before = folderContents(program);
    writeDictionaryFile(outside.file("empty.mdb"), {});
    std::ofstream(outside.file("garbage.mdb")) << "not a database";
    for (const char* name : {"empty.mdb", "garbage.mdb", "missing.mdb", "program/divination.dll"}) {
        MergeReport report = mergeUpdateFile(outside.file(name), program);
        EXPECT_TRUE(report.nothingToUpdate) << name;
        EXPECT_EQ(report.updateFileProblem.empty(), name == std::string("empty.mdb")) << name;
    }
    EXPECT_EQ(folderContents(program), before);
}

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

std::map<std::string, std::string> folderBytes(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        files[entry.path().filename().string()] = bytesOf(entry.path().string());
    return files;
}

// The file offsets of two bytes the rows are read through: the variable slot of the first column
// ("names") in the table definition, and the free space of the first data page.
std::pair<std::size_t, std::size_t> namesSlotAndFreeSpace(const std::string& path) {
    const jet::Database db = jet::Database::open(path, store::kDatabasePassword);
    const jet::DatabaseState& state = *jet::detail::DatabaseAccess::state(db);
    const jet::detail::JetFormat& format = *state.format;
    const jet::detail::TableDef def =
        jet::detail::readUserTableDef(state, jet::detail::userTable(state, "data"));
    const std::size_t columns =
        format.tdefRealIndexStart + def.realIndexes.size() * format.tdefRealIndexEntrySize;
    const std::uint32_t dataPage = jet::detail::tableOwnedPages(state.pages, format, def).front();
    return {std::size_t{def.page} * format.pageSize + columns + format.columnVarIndex,
            std::size_t{dataPage} * format.pageSize + jet::detail::kPageFreeSpaceOffset};
}

TEST_F(Merge, ADamagedUpdateFileIsRefusedWholeNamingItsFaultAndChangesNothing) {
    writeDictionaryFile(file("omens.dll"), {{"omens", "Raven", "http://o/raven"}});
    const std::string path = outside.file("update.mdb");
    writeDictionaryFile(path, {{"Omens", "Owl", "http://o/owl"}, {"runes", "alpha", "http://r"}});
    const std::string sound = bytesOf(path);
    const auto before = folderBytes(program);
    const auto [slot, freeSpace] = namesSlotAndFreeSpace(path);
    // "names" read from the slot of "Key" would make one dictionary a row.
    const std::vector<std::tuple<std::size_t, int, std::string>> damages = {
        {slot, sound[slot] + 1, "variable slot 1"},
        {freeSpace, sound[freeSpace] + 1, "free space"}};
    for (const auto& [at, value, fault] : damages) {
        std::string damaged = sound;
        damaged[at] = static_cast<char>(value);
        std::ofstream(path, std::ios::binary | std::ios::trunc) << damaged;
        const MergeReport report = mergeUpdateFile(path, program);
        EXPECT_TRUE(report.nothingToUpdate) << fault;
        EXPECT_THAT(report.updateFileProblem,
                    AllOf(HasSubstr(path + ": the file is damaged: "), HasSubstr(fault)));
        EXPECT_EQ(folderBytes(program), before) << fault;
    }
    std::ofstream(path, std::ios::binary | std::ios::trunc) << sound;
    EXPECT_EQ(countsLine(mergeUpdateFile(path, program)),
              "2 records added, 0 skipped as duplicates, 0 failed");
}

TEST_F(Merge, RecordsRefusedHalfWayAreCountedWithTheirReasonsAndTheOthersStillGoIn) {
    // Catalogue names of 12 characters at most, keys of 10.
    jet::createDatabase(file("divination.dll"),
                        {{"data", {{"names", jet::ColumnType::Text, 12}, {"Database"}}}},
                        {store::kDatabasePassword, {}});
    store::CatalogueFile catalogue = store::CatalogueFile::open(file("divination.dll"));
    catalogue.append("Omens", "omens.dll");
    catalogue.append("Ghost", "ghost.dll");
    catalogue.commit();
    jet::createDatabase(file("omens.dll"),
                        {{"data", {{"names"}, {"Key", jet::ColumnType::Text, 10}, {"Link"}}}},
                        {store::kDatabasePassword, {}});
    MergeReport report = merge({{"Omens", "Raven", "http://o/raven"},
                                {"Omens", "Far too long", "http://o/long"},
                                {"Ghost", "Boo", "http://g/boo"},
                                {"Astrologically", "Sun", "http://a/sun"}, // too long a name
                                {"Omens", "Owl", "http://o/owl"},
                                {"Runes", "Fehu", "http://r/fehu"},
                                {"Omens", "Raven", "http://o/raven"}});
    EXPECT_EQ(rows("omens.dll"),
              (Lines{"omens\tRaven\thttp://o/raven", "omens\tOwl\thttp://o/owl"}));
    EXPECT_EQ(rows("runes.dll"), Lines{"runes\tFehu\thttp://r/fehu"});
    EXPECT_FALSE(fs::exists(file("astrologically.dll")));
    EXPECT_FALSE(fs::exists(file("ghost.dll")));
    EXPECT_EQ(rows("divination.dll"),
              (Lines{"Omens\tomens.dll", "Ghost\tghost.dll", "Runes\trunes.dll"}));
    EXPECT_THAT(
        reportText(report),
        AllOf(HasSubstr("row 2 (Omens, Key \"Far too long\"): omens.dll refused the record"),
              HasSubstr("row 3 (Ghost, Key \"Boo\"): the catalogue lists it, but its "
                        "dictionary file ghost.dll is missing"),
              HasSubstr("row 4 (Astrologically, Key \"Sun\"): the catalogue divination")));
    EXPECT_EQ(closingMessageFor(report).details, reportText(report));
}

TEST_F(Merge, AFullDiskFailsTheRecordsOfEveryFileItCouldNotWriteAndChangesNothing) {
    const auto before = folderContents(program);
    MergeReport report =
        merge({{"Omens", "Raven", "http://o/raven"}, {"Runes", "Fehu", "http://r/fehu"}}, {1, 2});
    EXPECT_EQ(folderContents(program), before);
    EXPECT_EQ(countsLine(report), "0 records added, 0 skipped as duplicates, 2 failed");
    EXPECT_THAT(reportText(report),
                AllOf(HasSubstr("the dictionary file omens.dll could not be saved: No space left"),
                      HasSubstr("the dictionary file runes.dll could not be made: No space left")));
}

TEST_F(Merge, ACatalogueThatCannotBeSavedListsNothingNew) {
    // omens.dll and runes.dll are written, the catalogue is not.
    MergeReport report =
        merge({{"Omens", "Raven", "http://o/raven"}, {"Runes", "Fehu", "http://r/fehu"}}, {3});
    EXPECT_EQ(rows("omens.dll"), Lines{"omens\tRaven\thttp://o/raven"});
    EXPECT_EQ(rows("divination.dll"), Lines{"Omens\tomens.dll"});
    ASSERT_EQ(report.failed(), 1u);
    EXPECT_THAT(report.failures[0].reason, HasSubstr("(so runes.dll is not listed)"));
    // The file made is not listed, so the next merge appends to it and lists it.
    EXPECT_TRUE(merge({{"Runes", "Uruz", "http://r/uruz"}}).succeeded());
    EXPECT_EQ(rows("runes.dll"),
              (Lines{"runes\tFehu\thttp://r/fehu", "runes\tUruz\thttp://r/uruz"}));
    EXPECT_EQ(rows("divination.dll").back(), "Runes\trunes.dll");
}

TEST_F(Merge, AReadOnlyFolderFailsEveryRecordAndChangesNothing) {
    const auto before = folderContents(program);
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::remove);
    // In a process that cannot override permissions, so the folder refuses the superuser too.
    const int failed = runWithoutPermissionOverride([&] {
        return static_cast<int>(
            merge({{"Omens", "Raven", "http://o/raven"}, {"Runes", "Fehu", "http://r/fehu"}})
                .failed());
    });
    fs::permissions(program, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(failed, 2);
    EXPECT_EQ(folderContents(program), before);
}

TEST_F(Merge, AFileAlreadyThereIsNeverReplacedNorANameUsedAsAPath) {
    writeDictionaryFile(file("runes.dll"), {{"runes", "Fehu", "http://r/fehu"}});
    std::ofstream(file("tarot.dll")) << "someone's notes";
    const std::vector<std::string> unsafe = {
        "",        "..",         "../outside",          "sub/dir",    "back\\slash",
        "bell\a",  "c1\xc2\x85", std::string(201, 'a'), "Divination", "CLONE",
        ".hidden", " .x"};
    // White space around a name never makes another dictionary a user cannot tell apart.
    Rows update = {{"Runes", "Fehu", "http://r/fehu"},
                   {"runes", "Uruz", "http://r/uruz"},
                   {" runes\xe3\x80\x80", "Ansuz", "http://r/ansuz"},
                   {"Tarot", "Fool", "http://t/fool"},
                   {std::string(200, 'a'), "k", "http://long"},
                   {"  sigils ", "Algiz", "http://s/algiz"},
                   {"Sigils\xc2\xa0", "Sowilo", "http://s/sowilo"}};
    for (const std::string& name : unsafe)
        update.push_back({name, "k", "http://x"});
    MergeReport report = merge(update);
    EXPECT_EQ(countsLine(report), "5 records added, 1 skipped as a duplicate, 13 failed");
    EXPECT_THAT(reportText(report),
                HasSubstr("\" .x\" starts with a dot, which would make its file hidden"));
    EXPECT_EQ(rows("runes.dll"), (Lines{"runes\tFehu\thttp://r/fehu", "runes\tUruz\thttp://r/uruz",
                                        "runes\tAnsuz\thttp://r/ansuz"}));
    EXPECT_EQ(rows("sigils.dll"),
              (Lines{"sigils\tAlgiz\thttp://s/algiz", "sigils\tSowilo\thttp://s/sowilo"}));
    EXPECT_EQ(readRows(file("tarot.dll")).front().rfind("unreadable: ", 0), 0u);
    EXPECT_EQ(rows("divination.dll"), (Lines{"Omens\tomens.dll", "Runes\trunes.dll",
                                             std::string(1, 'A') + std::string(199, 'a') + "\t" +
                                                 std::string(200, 'a') + ".dll",
                                             "Sigils\tsigils.dll"}));
    EXPECT_EQ(std::distance(fs::directory_iterator(outside.path()), {}), 2);
    EXPECT_EQ(std::distance(fs::directory_iterator(program), {}), 7);
}

TEST_F(Merge, WithoutATemplateOrAReadableCatalogueNothingIsListedThatIsNotThere) {
    fs::remove(file("clone.dll"));
    MergeReport report =
        merge({{"Runes", "Fehu", "http://r/fehu"}, {"Omens", "Raven", "http://o/raven"}});
    EXPECT_THAT(reportText(report), HasSubstr("the template clone.dll cannot be read"));
    EXPECT_EQ(rows("divination.dll"), Lines{"Omens\tomens.dll"});
    EXPECT_FALSE(fs::exists(file("runes.dll")));

    std::ofstream(file("divination.dll"), std::ios::trunc) << "damaged";
    report = merge({{"Omens", "Owl", "http://o/owl"}});
    EXPECT_EQ(report.failed(), 1u);
    EXPECT_EQ(rows("omens.dll"), Lines{"omens\tRaven\thttp://o/raven"});
}

} // namespace
} // namespace update
