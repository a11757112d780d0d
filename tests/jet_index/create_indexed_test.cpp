// New tables with declared indexes: the definition reads back with the names, columns and flags
// Access gives such indexes, each index starts as an empty leaf, appends keep every index exact
// (pages split, check clean), rows a unique index or the primary key refuses leave the file as
// it was, and declarations that cannot be stored are refused.
#include "index_support.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/error.h"
#include "jet/write_session.h"
#include "read/index_pages_read.h"
#include "read/state.h"

#include <algorithm>
#include <fstream>
#include <gtest/gtest.h>
#include <unistd.h>

namespace jet::test {
namespace {

namespace fs = std::filesystem;

class NewFile {
public:
    explicit NewFile(const std::vector<IndexSpec>& indexes) {
        fs::create_directories(dir_);
        createDatabase(path_, {spec(indexes)}, {"", 45000.0});
    }
    ~NewFile() { fs::remove_all(dir_); }
    const fs::path& path() const { return path_; }

    static TableSpec spec(const std::vector<IndexSpec>& indexes) {
        return {"data",
                {{"Id", ColumnType::Long, 255, true},
                 {"names"},
                 {"Key"},
                 {"Link", ColumnType::Memo},
                 {"Picture", ColumnType::Ole}},
                indexes};
    }

private:
    fs::path dir_ =
        fs::temp_directory_path() / ("augurlex-create-indexed-" + std::to_string(::getpid()));
    fs::path path_ = dir_ / "new.mdb";
};

std::vector<std::uint8_t> bytesOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

const std::vector<IndexSpec> kDictionaryIndexes = {
    {{"Id"}, false, true}, {{"Link"}, true}, {{"Key"}}, {{"names", "Key"}, false, false, "Both"}};

TEST(CreateIndexed, IndexesReadBackAsAccessNamesAndFlagsThemEachAnEmptyLeaf) {
    NewFile file(kDictionaryIndexes);
    EXPECT_EQ(checkDatabase(file.path()), std::vector<std::string>{});

    const Database db = Database::open(file.path());
    const Table table = db.table("data");
    ASSERT_EQ(table.indexes().size(), 4u);
    const auto& idx = table.indexes();
    EXPECT_EQ(idx[0].name, "PrimaryKey");
    EXPECT_TRUE(idx[0].primaryKey);
    EXPECT_EQ(idx[1].name, "Link");
    EXPECT_TRUE(idx[1].unique && !idx[1].primaryKey);
    EXPECT_EQ(idx[2].name, "Key");
    EXPECT_FALSE(idx[2].unique);
    EXPECT_EQ(idx[3].name, "Both");
    ASSERT_EQ(idx[3].columns.size(), 2u);
    EXPECT_EQ(idx[3].columns[0].column, 1u);
    EXPECT_EQ(idx[3].columns[1].column, 2u);

    const auto& state = *detail::DatabaseAccess::state(db);
    const detail::TableDef def = detail::readUserTableDef(state, detail::userTable(state, "data"));
    // Primary key: unique and required; then unique; then plain. 0x80 is always set.
    std::vector<std::uint8_t> flags;
    for (const detail::RealIndex& real : def.realIndexes)
        flags.push_back(real.flags);
    EXPECT_EQ(flags, (std::vector<std::uint8_t>{0x89, 0x81, 0x80, 0x80}));
    // Text keys in the "General" order of Access 2000-2003 files, which the header declares too.
    for (const auto& column : keyColumns(db, "data", idx[3]))
        EXPECT_EQ(column.textOrder, detail::TextSortOrder::GeneralLegacy);
    std::vector<std::uint32_t> roots;
    for (const Index& index : idx) {
        EXPECT_TRUE(detail::readIndexEntries(state.pages, *state.format, index.firstPage, def.page)
                        .empty());
        roots.push_back(index.firstPage);
    }
    std::sort(roots.begin(), roots.end());
    EXPECT_EQ(std::adjacent_find(roots.begin(), roots.end()), roots.end()) << "a shared root";
}

TEST(CreateIndexed, ThousandsOfAppendsKeepEveryIndexExact) {
    NewFile file(kDictionaryIndexes);
    constexpr int kRowsPerSession = 2000;
    int serial = 0;
    for (int round = 0; round < 2; ++round) {
        WriteSession session = WriteSession::open(file.path());
        for (int i = 0; i < kRowsPerSession; ++i, ++serial) {
            // Few names, Keys that repeat and accented links: every kind of key and split.
            const std::string key = (serial % 3 ? "Clé " : "Cle ") + std::to_string(serial % 900);
            session.appendRow("data", {{"names", "dict" + std::to_string(serial % 4)},
                                       {"Key", serial % 11 ? Value(key) : Value()},
                                       {"Link", "https://ex.org/Œuvre/" + std::to_string(serial) +
                                                    std::string(serial % 60, 'x')}});
        }
        session.commit();
    }
    EXPECT_EQ(checkDatabase(file.path()), std::vector<std::string>{});

    const Database db = Database::open(file.path());
    for (IndexKeys& keys : indexKeys(db)) {
        EXPECT_EQ(keys.stored.size(), std::size_t{2 * kRowsPerSession}) << keys.index;
        EXPECT_TRUE(std::is_sorted(keys.stored.begin(), keys.stored.end())) << keys.index;
        std::sort(keys.computed.begin(), keys.computed.end());
        EXPECT_EQ(keys.stored, keys.computed) << keys.index;
    }
}

// The "General" order compares letters without case, so links that differ only in case are one
// key of the unique index: refused by name, the file unchanged.
TEST(CreateIndexed, AUniqueIndexRefusesALinkThatDiffersOnlyInCase) {
    NewFile file(kDictionaryIndexes);
    {
        WriteSession session = WriteSession::open(file.path());
        session.appendRow("data", {{"names", "omens"}, {"Key", "Raven"}, {"Link", "http://o/R"}});
        session.commit();
    }
    const auto before = bytesOf(file.path());
    WriteSession session = WriteSession::open(file.path());
    try {
        session.appendRow("data", {{"names", "omens"}, {"Key", "Crow"}, {"Link", "HTTP://O/r"}});
        ADD_FAILURE() << "a duplicate link was taken";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Invalid);
        EXPECT_NE(std::string(e.what()).find("index \"Link\""), std::string::npos) << e.what();
    }
    session.commit();
    EXPECT_EQ(bytesOf(file.path()), before);
}

// A primary key of two columns refuses a row that leaves one of them empty, by name, before
// anything changes.
TEST(CreateIndexed, APrimaryKeyOfTwoColumnsRefusesARowMissingOne) {
    NewFile file({{{"names", "Key"}, false, true}});
    const auto before = bytesOf(file.path());
    WriteSession session = WriteSession::open(file.path());
    for (const RowValues& row :
         {RowValues{{"names", std::string("omens")}}, RowValues{{"Key", std::string("Raven")}}}) {
        try {
            session.appendRow("data", row);
            ADD_FAILURE() << "a row without all of its primary key was taken";
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Invalid);
            EXPECT_NE(std::string(e.what()).find("index \"PrimaryKey\": a value is missing"),
                      std::string::npos)
                << e.what();
        }
    }
    session.commit();
    EXPECT_EQ(bytesOf(file.path()), before);
}

TEST(CreateIndexed, DeclarationsThatCannotBeStoredAreRefused) {
    const std::vector<std::pair<std::vector<IndexSpec>, std::string>> cases = {
        {{{{"Colour"}}}, "no column \"Colour\""},
        {{{{"Key", "key"}}}, "names column \"key\" twice"},
        {{{{"Picture"}}}, "which no index holds"},
        {{{{}}}, "1 to 10 columns"},
        {{{{"Key"}, false, true}, {{"Id"}, false, true}}, "one primary key"},
        {{{{"Key"}}, {{"Link"}, true, false, "key"}}, "two indexes are named \"key\""},
        {std::vector<IndexSpec>(33, IndexSpec{{"Key"}}), "at most 32 indexes"},
    };
    for (const auto& [indexes, reason] : cases) {
        try {
            buildDatabase({NewFile::spec(indexes)});
            ADD_FAILURE() << "taken: " << reason;
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Invalid);
            EXPECT_NE(std::string(e.what()).find(reason), std::string::npos) << e.what();
        }
    }
}

} // namespace
} // namespace jet::test
