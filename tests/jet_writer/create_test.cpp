// New databases read back through the engine itself; the outside readers check the same files in
// the oracle tests.
#include "jet/create.h"
#include "jet/database.h"
#include "support.h"

#include <gtest/gtest.h>

namespace jet {
namespace {

const std::vector<TableSpec> kDictionary{
    {"data", {{"names", ColumnType::Text}, {"Key", ColumnType::Text}, {"Link", ColumnType::Memo}}}};

TEST(CreateDatabase, DictionaryLayoutReadsBack) {
    test::ScratchDir dir;
    auto path = dir.write("new.mdb", {});
    createDatabase(path, kDictionary, {"K8Wum2qTx7vRb4Lpe9", 45000.5});

    Database db = Database::open(path, "K8Wum2qTx7vRb4Lpe9");
    EXPECT_EQ(db.version(), Version::Jet4);
    EXPECT_TRUE(db.hasPassword());
    EXPECT_EQ(db.tableNames(), std::vector<std::string>{"data"});
    Table t = db.table("DATA");
    ASSERT_EQ(t.columns().size(), 3u);
    EXPECT_EQ(t.columns()[0].name, "names");
    EXPECT_EQ(t.columns()[1].type, ColumnType::Text);
    EXPECT_EQ(t.columns()[1].length, 510);
    EXPECT_EQ(t.columns()[2].type, ColumnType::Memo);
    EXPECT_TRUE(t.indexes().empty());
    EXPECT_EQ(t.cursor().recordCount(), 0u);
    EXPECT_FALSE(t.cursor().moveFirst());
}

TEST(CreateDatabase, PasswordIsEnforcedAndOptional) {
    test::ScratchDir dir;
    auto locked = dir.write("locked.mdb", {});
    createDatabase(locked, kDictionary, {"Zauberwort-ü", 44000.25});
    EXPECT_NO_THROW(Database::open(locked, "Zauberwort-ü"));
    try {
        Database::open(locked, "zauberwort-ü");
        FAIL() << "a wrong password opened the file";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::BadPassword);
    }

    auto open = dir.write("open.mdb", {});
    createDatabase(open, kDictionary, {"", 44000.25});
    EXPECT_FALSE(Database::open(open, "anything").hasPassword());
}

TEST(CreateDatabase, CatalogueTableAndSeveralTables) {
    test::ScratchDir dir;
    auto path = dir.write("cat.mdb", {});
    createDatabase(path,
                   {{"data", {{"names", ColumnType::Text}, {"Database", ColumnType::Text}}},
                    {"Other table",
                     {{"Id", ColumnType::Long, 255, true},
                      {"When", ColumnType::DateTime},
                      {"Flag", ColumnType::Boolean},
                      {"Blob", ColumnType::Ole}}}},
                   {});
    Database db = Database::open(path);
    EXPECT_EQ(db.tableNames(), (std::vector<std::string>{"data", "Other table"}));
    const auto& cols = db.table("other table").columns();
    ASSERT_EQ(cols.size(), 4u);
    EXPECT_TRUE(cols[0].autoNumber);
    EXPECT_EQ(cols[2].type, ColumnType::Boolean);
}

TEST(CreateDatabase, RefusesWhatCannotBeStored) {
    auto refuses = [](const std::vector<TableSpec>& tables, const CreateOptions& options) {
        try {
            buildDatabase(tables, options);
        } catch (const Error& e) {
            return e.kind() == ErrorKind::Invalid;
        }
        return false;
    };
    EXPECT_TRUE(refuses(kDictionary, {"a password longer than twenty", 1.0}));
    EXPECT_TRUE(refuses({{"da/ta", {{"a", ColumnType::Text}}}}, {}));
    EXPECT_TRUE(refuses({{"MSysData", {{"a", ColumnType::Text}}}}, {}));
    EXPECT_TRUE(refuses({{"t", {}}}, {}));
    EXPECT_TRUE(refuses({{"t", {{"a", ColumnType::Text}, {"a", ColumnType::Long}}}}, {}));
    EXPECT_TRUE(refuses({{"t", {{"a", ColumnType::Text, 0}}}}, {}));
    EXPECT_TRUE(refuses({{"t", {{"a", ColumnType::Text, 255, true}}}}, {}));
    EXPECT_TRUE(refuses({{"t", {{"a", ColumnType::Text}}}, {"T", {{"a", ColumnType::Text}}}}, {}));
}

TEST(CreateDatabase, SameInputGivesSameBytes) {
    CreateOptions options{"pw", 45123.75};
    EXPECT_EQ(buildDatabase(kDictionary, options), buildDatabase(kDictionary, options));
}

} // namespace
} // namespace jet
