// New tables with declared indexes: the definition reads back with the names, columns and flags
// Access gives such indexes, appends keep every index exact (pages split, check clean), rows the
// primary key refuses leave the file as it was, and declarations that cannot be stored are
// refused.
#include "index_support.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/error.h"
#include "jet/write_session.h"
#include "read/state.h"

#include <gtest/gtest.h>

namespace jet::test {
namespace {

namespace fs = std::filesystem;

class NewFile {
public:
    explicit NewFile(const std::vector<IndexSpec>& indexes) {
        createDatabase(path_, {spec(indexes)}, {"", 45000.0});
    }
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
    ScratchDir dir_;
    fs::path path_ = dir_.path / "new.mdb";
};

// "KeyToo" shares the entries of "Key"; "KeyDown" has entries of its own.
const std::vector<IndexSpec> kDictionaryIndexes = {
    {{"Id"}, false, true},
    {{"Link"}, true},
    {{"Key"}},
    {{"names", "Key"}, false, false, "Both"},
    {{"Key"}, false, false, "KeyToo"},
    {{"Key"}, false, false, "KeyDown", true},
    {{"names"}, false, false, "NamesGiven", false, true}};

TEST(CreateIndexed, IndexesReadBackAsAccessNamesAndFlagsThem) {
    NewFile file(kDictionaryIndexes);
    EXPECT_EQ(checkDatabase(file.path()), std::vector<std::string>{});

    const Database db = Database::open(file.path());
    const auto& idx = db.table("data").indexes();
    std::string described;
    for (const Index& index : idx) {
        described += index.name + (index.primaryKey ? " primary" : index.unique ? " unique" : "");
        for (const IndexColumn& column : index.columns)
            described += (column.ascending ? " " : " -") + std::to_string(column.column);
        described += "; ";
    }
    ASSERT_EQ(described, "PrimaryKey primary 0; Link unique 3; Key 2; Both 1 2; KeyToo 2; "
                         "KeyDown -2; NamesGiven 1; ");

    const auto& state = *detail::DatabaseAccess::state(db);
    const detail::TableDef def = detail::readUserTableDef(state, detail::userTable(state, "data"));
    // Primary key: unique and required; then unique; then plain; one ignoring nulls. 0x80 is
    // always set.
    std::vector<std::uint8_t> flags;
    for (const detail::RealIndex& real : def.realIndexes)
        flags.push_back(real.flags);
    EXPECT_EQ(flags, (std::vector<std::uint8_t>{0x89, 0x81, 0x80, 0x80, 0x80, 0x82}));
    EXPECT_EQ(def.logicalIndexes[4].physical, def.logicalIndexes[2].physical);
    // Text keys in the "General" order of Access 2000-2003 files, which the header declares too.
    for (const auto& column : keyColumns(db, "data", idx[3]))
        EXPECT_EQ(column.textOrder, detail::TextSortOrder::GeneralLegacy);
}

TEST(CreateIndexed, ThousandsOfAppendsKeepEveryIndexExact) {
    NewFile file(kDictionaryIndexes);
    constexpr int kRowsPerSession = 2000;
    int serial = 0;
    for (int round = 0; round < 2; ++round) {
        WriteSession session = WriteSession::open(file.path());
        for (int i = 0; i < kRowsPerSession; ++i, ++serial) {
            // Few names, Keys that repeat and accented links: every kind of key and split; a
            // long Key among short ones, so a split must halve a page's bytes, not its entries.
            std::string key = (serial % 3 ? "Clé " : "Cle ") + std::to_string(serial % 900);
            if (serial % 7 == 0)
                for (int c = 0; c < 200; ++c)
                    key += "é";
            session.appendRow("data", {{"names", "dict" + std::to_string(serial % 4)},
                                       {"Key", serial % 11 ? Value(key) : Value()},
                                       {"Link", "https://ex.org/Œuvre/" + std::to_string(serial) +
                                                    std::string(serial % 60, 'x')}});
        }
        session.commit();
    }
    // The check finds an entry missing, out of order or not its row's key (index_check_test).
    EXPECT_EQ(checkDatabase(file.path()), std::vector<std::string>{});
}

// A primary key of two columns refuses a row that leaves one of them empty, by name, before
// anything changes.
TEST(CreateIndexed, APrimaryKeyOfTwoColumnsRefusesARowMissingOne) {
    NewFile file({{{"names", "Key"}, false, true}});
    const auto before = test::readBytes(file.path());
    WriteSession session = WriteSession::open(file.path());
    for (const RowValues& row :
         {RowValues{{"names", std::string("omens")}}, RowValues{{"Key", std::string("Raven")}}}) {
        const std::string message =
            errorOf(ErrorKind::Invalid, [&] { session.appendRow("data", row); });
        EXPECT_TRUE(mentions(message, "index \"PrimaryKey\": a value is missing")) << message;
    }
    session.commit();
    EXPECT_EQ(test::readBytes(file.path()), before);
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
        const std::string message =
            errorOf(ErrorKind::Invalid, [&] { buildDatabase({NewFile::spec(indexes)}); });
        EXPECT_TRUE(mentions(message, reason)) << message;
    }
}

} // namespace
} // namespace jet::test
