// The program's door to its files: paths, the one record walk with its rule for a file that
// cannot be read whole, and appending.
#include "dictionary_folder.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "store/files_for_appending.h"
#include "store/program_files.h"

#include <fstream>
#include <gtest/gtest.h>

namespace store {
namespace {

using namespace testing_support;
using Lines = std::vector<std::string>;

void create(const std::string& path, const std::string& table, std::vector<jet::ColumnSpec> columns,
            const std::string& password = kDatabasePassword) {
    jet::createDatabase(path, {{table, std::move(columns)}}, {password, {}});
}

// The fields of every record walked, joined by "|", then "!" and the reason if there is one.
Lines walk(const std::string& path, const std::vector<std::string_view>& fields) {
    Lines seen;
    auto problem = walkRecords(path, fields, [&](const Record& record) {
        seen.push_back(record[0]);
        for (std::size_t i = 1; i < fields.size(); ++i)
            seen.back() += "|" + record[i];
        return true;
    });
    if (problem)
        seen.push_back("!" + *problem);
    return seen;
}

TEST(Paths, AreTheFolderAndTheLowerCasedNameJoinedAsTheyAre) {
    EXPECT_EQ(dictionaryPath("/opt/App", " Dream Signs"), "/opt/App/ dream signs.dll");
    EXPECT_EQ(dictionaryPath("f", "ÄGYPTEN ΟΙΩΝΟΣ ТАРО Ǆ Ⅻ"), "f/ägypten οιωνοσ таро ǆ ⅻ.dll");
    EXPECT_EQ(dictionaryPath("f", "A\xFF"), "f/a\xFF.dll"); // a stray byte stays
    DictionaryFolder folder;
    std::filesystem::create_directory(dictionaryPath(folder.path(), "Omens"));
    EXPECT_FALSE(dictionaryExists(folder.path(), "OMENS")); // a folder is not the file
    EXPECT_FALSE(catalogueExists(folder.path()));
    folder.writeCatalogue({});
    EXPECT_TRUE(catalogueExists(folder.path()));
}

TEST(RecordWalk, VisitsTheAskedFieldsAsTextInRecordOrder) {
    DictionaryFolder folder;
    writeDictionaryFile(folder.file("d.dll"), {{"d", "Crow", "http://c"}, {"d", "", "http://e"}});
    EXPECT_EQ(walk(folder.file("d.dll"), {"link", "Key"}), (Lines{"http://c|Crow", "http://e|"}));
    create(folder.file("n.dll"), "data", {{"Key"}, {"Count", jet::ColumnType::Long}});
    jet::WriteSession numbers = jet::WriteSession::open(folder.file("n.dll"), kDatabasePassword);
    numbers.appendRow("data", {{"Count", std::int64_t{-42}}});
    numbers.commit();
    EXPECT_EQ(walk(folder.file("n.dll"), {"Count", "Key"}), Lines{"-42|"}); // null reads as ""
}

// The one rule: the walk never throws for a file; it stops and says why, as "<path>: <what>",
// keeping what it visited before.
TEST(RecordWalk, AFileThatCannotBeReadWholeEndsTheWalkWithItsReason) {
    DictionaryFolder folder;
    const auto reasonFor = [&](const std::string& name, std::vector<std::string_view> fields) {
        const std::string last = walk(folder.file(name), fields).back();
        EXPECT_EQ(last.rfind("!" + folder.file(name) + ": ", 0), 0u) << last;
        return last.substr(folder.file(name).size() + 3);
    };
    EXPECT_NE(reasonFor("missing.dll", {"Key"}), "");
    create(folder.file("locked.dll"), "data", {{"Key"}}, "another");
    EXPECT_EQ(reasonFor("locked.dll", {"Key"}), jet::kBadPasswordMessage);
    std::ofstream(folder.file("text.dll")) << std::string(8192, 'x');
    EXPECT_EQ(reasonFor("text.dll", {"Key"}).rfind(jet::kNotSupportedMessage, 0), 0u);
    create(folder.file("words.dll"), "words", {{"Key"}});
    EXPECT_EQ(reasonFor("words.dll", {"Key"}), "no table \"data\" in " + folder.file("words.dll"));
    create(folder.file("keys.dll"), "data", {{"Key"}});
    EXPECT_EQ(reasonFor("keys.dll", {"Key", "Link"}), "table \"data\" has no column \"Link\"");
    // Damage met part-way: the second record's long address lives on a page that is not one.
    writeDictionaryFile(
        folder.file("damaged.dll"),
        {{"d", "Crow", "http://c"}, {"d", "Owl", "http://" + std::string(5000, 'o')}});
    std::fstream damaged(folder.file("damaged.dll"),
                         std::ios::in | std::ios::out | std::ios::binary);
    const std::string bytes(std::istreambuf_iterator<char>(damaged), {});
    damaged.seekp(static_cast<std::streamoff>(bytes.find("LVAL"))) << "XXXX";
    damaged.close();
    EXPECT_EQ(walk(folder.file("damaged.dll"), {"Key", "Link"}).front(), "Crow|http://c");
    const std::string reason = reasonFor("damaged.dll", {"Key", "Link"});
    EXPECT_NE(reason, "");
    EXPECT_EQ(reason.find(folder.file("damaged.dll")), std::string::npos) << "named twice";
    // A data page gone bad drops its records out of the table's pages: the walk still says so.
    Rows many;
    for (int i = 0; i < 400; ++i)
        many.push_back(
            {"d", "Key" + std::to_string(i), "https://example.org/" + std::to_string(i)});
    writeDictionaryFile(folder.file("lost.dll"), many);
    std::fstream lost(folder.file("lost.dll"), std::ios::in | std::ios::out | std::ios::binary);
    const std::string pages(std::istreambuf_iterator<char>(lost), {});
    const std::size_t firstData = pages.find("Key0") / 4096 * 4096;
    lost.seekp(static_cast<std::streamoff>(firstData)) << std::string(4096, '\xFF');
    lost.close();
    EXPECT_EQ(reasonFor("lost.dll", {"Key"}),
              "table \"data\" stores 400 records, but " +
                  std::to_string(walk(folder.file("lost.dll"), {"Key"}).size() - 1) +
                  " could be read; the file is damaged");
}

TEST(Appending, RecordsReachTheFileAtCommitAndARefusedOneChangesNothing) {
    DictionaryFolder folder;
    writeDictionaryFile(folder.file("omens.dll"), {{"omens", "Crow", "http://c"}});
    DictionaryFile file = DictionaryFile::open(folder.file("omens.dll"));
    file.append({"omens", "Raven", "http://r"});
    EXPECT_THROW(file.append({"omens", std::string(256, 'k'), "http://long"}), std::runtime_error);
    EXPECT_EQ(file.appendedRecords(), 1u);
    EXPECT_EQ(readRows(folder.file("omens.dll")), Lines{"omens\tCrow\thttp://c"});
    file.commit();
    EXPECT_EQ(readRows(folder.file("omens.dll")),
              (Lines{"omens\tCrow\thttp://c", "omens\tRaven\thttp://r"}));
    EXPECT_THROW(CatalogueFile::open(folder.file("omens.dll")), std::runtime_error); // no Database
}

} // namespace
} // namespace store
