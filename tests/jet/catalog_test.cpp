// Every test file opens, lists the user tables FILES.tsv names, and each table's walk visits
// exactly the rows its record count announced.
#include "support.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

TEST(Catalog, EveryTestFileListsItsTablesAndRowCounts) {
    const auto files = testFileIndex();
    ASSERT_GT(files.size(), 30u);
    for (const auto& info : files) {
        SCOPED_TRACE(info.file);
        const Database db = Database::open(testFile(info.file), info.password);
        EXPECT_EQ(db.version(), info.format == "JET3" ? Version::Jet3 : Version::Jet4);
        EXPECT_EQ(db.pageSize(), info.format == "JET3" ? 2048u : 4096u);

        std::vector<std::pair<std::string, std::uint64_t>> found;
        for (const auto& name : db.tableNames()) {
            const Table table = db.table(name);
            Cursor cursor = table.cursor();
            const std::uint64_t announced = cursor.recordCount();
            std::uint64_t visited = 0;
            for (bool more = cursor.moveFirst(); more; more = cursor.moveNext())
                ++visited;
            EXPECT_EQ(visited, announced) << name;
            EXPECT_TRUE(cursor.eof());
            found.emplace_back(name, visited);
        }
        // FILES.tsv lists tables as the reference readers find them: they visit moved catalogue
        // rows where the rows now lie, not where they were. Compare as sets.
        auto expected = info.tables;
        std::sort(found.begin(), found.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(found, expected);
    }
}

TEST(Catalog, FindsTablesAndColumnsIgnoringCase) {
    const Database db = Database::open(testFile("jackcess__testV2000.mdb"));
    EXPECT_TRUE(db.hasTable("TABLE1"));
    EXPECT_TRUE(db.hasTable("table1"));
    EXPECT_FALSE(db.hasTable("Table"));
    EXPECT_FALSE(db.hasTable("MSysObjects")); // system tables are not user tables
    const Table table = db.table("tAbLe1");
    EXPECT_EQ(table.name(), "Table1");
    EXPECT_EQ(table.columnIndex("g"), 6);
    EXPECT_EQ(table.columnIndex("nope"), -1);
    try {
        (void)db.table("missing");
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::NotFound);
    }
}

TEST(Catalog, SkipsLinkedTables) {
    const Database db = Database::open(testFile("ucanaccess__linked.mdb"));
    EXPECT_TRUE(db.tableNames().empty());
}

TEST(Catalog, ReadsColumnDefinitions) {
    const Database db = Database::open(testFile("jackcess__testV1997.mdb"));
    const Table table = db.table("Table1"); // columns() belongs to the Table object
    const auto& columns = table.columns();
    const std::vector<ColumnType> types{
        ColumnType::Text,     ColumnType::Text,     ColumnType::Byte,
        ColumnType::Integer,  ColumnType::Long,     ColumnType::Double,
        ColumnType::DateTime, ColumnType::Currency, ColumnType::Boolean};
    ASSERT_EQ(columns.size(), types.size());
    for (std::size_t i = 0; i < types.size(); ++i) {
        EXPECT_EQ(columns[i].type, types[i]) << i;
        EXPECT_EQ(columns[i].name, std::string(1, static_cast<char>('A' + i)));
        EXPECT_EQ(columns[i].fixedLength, types[i] != ColumnType::Text);
    }
    EXPECT_EQ(columns[0].length, 50);

    const Database wide = Database::open(testFile("jackcess__testV1997.mdb"));
    EXPECT_EQ(wide.table("Table2").columns().size(), 89u); // a definition over several pages
}

TEST(Catalog, KeepsColumnNumbersOfDeletedColumns) {
    const Database db = Database::open(testFile("jackcess__delColTestV2003.mdb"));
    const Table table = db.table("Table1");
    const auto& columns = table.columns();
    ASSERT_EQ(columns.size(), 4u);
    EXPECT_EQ(columns[1].name, "id2");
    EXPECT_EQ(columns[1].number, 2);
    EXPECT_EQ(columns[3].name, "data2");
    EXPECT_EQ(columns[3].number, 5);
}

TEST(Catalog, ReadsIndexDefinitions) {
    for (const char* file : {"jackcess__testV1997.mdb", "jackcess__testV2000.mdb"}) {
        SCOPED_TRACE(file);
        const Database db = Database::open(testFile(file));
        const Table table = db.table("Table1");
        const auto& indexes = table.indexes();
        ASSERT_EQ(indexes.size(), 2u);
        EXPECT_EQ(indexes[0].name, "B");
        EXPECT_FALSE(indexes[0].primaryKey);
        EXPECT_FALSE(indexes[0].unique);
        ASSERT_EQ(indexes[0].columns.size(), 1u);
        EXPECT_EQ(indexes[0].columns[0].column, 1);
        EXPECT_EQ(indexes[1].name, "PrimaryKey");
        EXPECT_TRUE(indexes[1].primaryKey);
        EXPECT_TRUE(indexes[1].unique);
        EXPECT_EQ(indexes[1].columns[0].column, 0);
        EXPECT_GT(indexes[1].firstPage, 0u);
        EXPECT_LT(indexes[1].firstPage, db.pageCount());
    }
}

TEST(Catalog, ReadsIndexOrderAndForeignKeys) {
    const Database codes = Database::open(testFile("jackcess__testIndexCodesV1997.mdb"));
    const Table mixed = codes.table("Table12_asc_desc");
    bool sawDescending = false;
    for (const auto& index : mixed.indexes())
        for (const auto& column : index.columns)
            sawDescending |= !column.ascending;
    EXPECT_TRUE(sawDescending);

    const Database related = Database::open(testFile("jackcess__indexTestV2000.mdb"));
    bool sawForeignKey = false;
    for (const auto& name : related.tableNames()) {
        const Table table = related.table(name);
        for (const auto& index : table.indexes())
            sawForeignKey |= index.foreignKey;
    }
    EXPECT_TRUE(sawForeignKey);
}

} // namespace
} // namespace jet::test
