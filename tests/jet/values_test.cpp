// Typed values read from real files: every column type, text encodings, moved and deleted rows,
// deleted columns, long values and page-encoded files.
#include "support.h"

#include <gtest/gtest.h>

namespace jet::test {
namespace {

std::vector<std::vector<Value>> allRows(const Table& table) {
    std::vector<std::vector<Value>> rows;
    Cursor cursor = table.cursor();
    for (bool more = cursor.moveFirst(); more; more = cursor.moveNext()) {
        rows.emplace_back();
        for (std::size_t i = 0; i < table.columns().size(); ++i)
            rows.back().push_back(cursor.value(i));
    }
    return rows;
}

std::vector<std::string> columnTexts(const Table& table, const std::string& column) {
    std::vector<std::string> texts;
    Cursor cursor = table.cursor();
    for (bool more = cursor.moveFirst(); more; more = cursor.moveNext())
        texts.push_back(cursor.text(column));
    return texts;
}

// 1981-12-12 and 1974-09-21 as days since 1899-12-30.
constexpr double kDay1981 = 29932;
constexpr double kDay1974 = 27293;

TEST(Values, AllNumericTypesInJet3AndJet4) {
    const std::vector<Value> small{std::string("a"),   std::string("b"), std::int64_t{0},
                                   std::int64_t{0},    std::int64_t{0},  0.0,
                                   DateTime{kDay1981}, Currency{0},      false};
    const std::vector<Value> big{std::string("abcdefg"), std::string("hijklmnop"), std::int64_t{2},
                                 std::int64_t{222},      std::int64_t{333333333},  444.555,
                                 DateTime{kDay1974},     Currency{35000},          true};
    const auto jet3 = allRows(Database::open(testFile("jackcess__testV1997.mdb")).table("Table1"));
    EXPECT_EQ(jet3, (std::vector<std::vector<Value>>{small, big}));
    for (const char* file : {"jackcess__testV2000.mdb", "jackcess__testV2003.mdb"}) {
        const auto jet4 = allRows(Database::open(testFile(file)).table("Table1"));
        EXPECT_EQ(jet4, (std::vector<std::vector<Value>>{big, small})) << file;
    }
}

TEST(Values, DecimalKeepsPrecisionScaleAndSign) {
    const Table table =
        Database::open(testFile("jackcess__fixedNumericTestV2003.mdb")).table("test");
    EXPECT_EQ(table.columns()[1].type, ColumnType::Numeric);
    EXPECT_EQ(table.columns()[1].precision, 18);
    EXPECT_EQ(table.columns()[1].scale, 0);
    Cursor cursor = table.cursor();
    ASSERT_FALSE(cursor.eof());
    EXPECT_EQ(cursor.text("col1"), "some data"); // a memo stored in the row
    const Decimal& minusOne = cursor.value("col6").as<Decimal>();
    EXPECT_TRUE(minusOne.negative);
    EXPECT_EQ(minusOne.magnitude, (std::array<std::uint32_t, 4>{1, 0, 0, 0}));
    std::vector<std::string> texts;
    for (const char* name : {"col2", "col3", "col4", "col5", "col6", "col7"})
        texts.push_back(cursor.text(name));
    EXPECT_EQ(texts, (std::vector<std::string>{"1", "0", "0", "4", "-1", "1"}));
}

TEST(Values, Jet4CompressedAndPlainUnicodeText) {
    const Table table =
        Database::open(testFile("jackcess__testUnicodeCompV2003.mdb")).table("Table");
    const auto texts = columnTexts(table, "Unicode");
    ASSERT_EQ(texts.size(), 8u);
    EXPECT_EQ(texts[0], "only ascii chars");
    EXPECT_EQ(texts[1], "ääkkösiä");
    EXPECT_EQ(texts[2], "Мир");
    EXPECT_EQ(texts[3], "\u03f0\u03b1\u1f76 \u03c4\u1f79\u03c4' \u1f10\u03b3\u1f7c "
                        "\u039a\u1f7b\u03f0\u03bb\u03c9\u03c0\u03b1");
    EXPECT_EQ(texts[4], "漢字仮名交じり文");
    EXPECT_EQ(texts[5], "3L9\x1d"
                        "52\x02_AB(¥\x05!!V");
    EXPECT_EQ(texts[6], "ümlaut");
    EXPECT_EQ(texts[7].substr(0, 3), "\x01\x02\x03");
}

TEST(Values, Jet3TextInTheCallersCodePage) {
    const auto path = testFile("ucanaccess__charsetGBK.mdb");
    // The file itself claims Windows-1252, so only the caller can say it holds GBK.
    const Database asStored = Database::open(path);
    EXPECT_EQ(asStored.codePage(), 1252);
    EXPECT_EQ(columnTexts(asStored.table("table1"), "field1"),
              std::vector<std::string>{"GBK\u00b1\u00e0\u00c2\u00eb"});

    const Database gbk = Database::open(path, "", OpenOptions{936});
    EXPECT_EQ(gbk.codePage(), 936);
    const Table table = gbk.table("table1");
    Cursor cursor = table.cursor();
    ASSERT_FALSE(cursor.eof());
    EXPECT_EQ(toText(cursor.value(1)), "GBK编码");
}

TEST(Values, MovedRowsAreFollowedInPlace) {
    for (const char* file : {"jackcess__overflowTestV1997.mdb", "jackcess__overflowTestV2000.mdb",
                             "jackcess__overflowTestV2003.mdb"}) {
        SCOPED_TRACE(file);
        const Table table = Database::open(testFile(file)).table("Table1");
        EXPECT_EQ(
            columnTexts(table, "data1"),
            (std::vector<std::string>{"row1col1", "row2col1", "", "row4col1", "", "", "row7col1"}));
        EXPECT_EQ(columnTexts(table, "data9")[2], "row3col9");
    }
}

TEST(Values, DeletedRowsAreSkipped) {
    for (const char* file : {"jackcess__delTestV1997.mdb", "jackcess__delTestV2000.mdb"}) {
        const Table table = Database::open(testFile(file)).table("Table");
        EXPECT_EQ(columnTexts(table, "a"), (std::vector<std::string>{"z", "v"})) << file;
        EXPECT_EQ(columnTexts(table, "b"), (std::vector<std::string>{"y", "u"})) << file;
    }
}

TEST(Values, DeletedColumnsLeaveGaps) {
    for (const char* file : {"jackcess__delColTestV1997.mdb", "jackcess__delColTestV2003.mdb"}) {
        const auto rows = allRows(Database::open(testFile(file)).table("Table1"));
        const std::vector<std::vector<Value>> expected{
            {std::int64_t{0}, std::int64_t{2}, std::string("foo"), std::string("foo2")},
            {std::int64_t{3}, std::int64_t{5}, std::string("bar"), std::string("bar2")}};
        EXPECT_EQ(rows, expected) << file;
    }
}

TEST(Values, NullsAndFixedText) {
    const Table table = Database::open(testFile("access_parser__test.mdb")).table("ClarotyTable");
    Cursor cursor = table.cursor();
    ASSERT_TRUE(cursor.moveNext());
    EXPECT_TRUE(cursor.value("Field3").isNull());
    EXPECT_EQ(cursor.text("Field3"), "");
    EXPECT_FALSE(cursor.moveNext());
    EXPECT_TRUE(cursor.eof());
    EXPECT_THROW((void)cursor.value(0), Error);
}

TEST(Values, OleChainedOverSeveralPages) {
    for (const char* file : {"jackcess__test2V1997.mdb", "jackcess__test2V2003.mdb"}) {
        SCOPED_TRACE(file);
        const Table table = Database::open(testFile(file)).table("MSP_PROJECTS");
        Cursor cursor = table.cursor();
        ASSERT_FALSE(cursor.eof());
        const Bytes& data = cursor.value("RESERVED_BINARY_DATA").as<Bytes>();
        ASSERT_EQ(data.size(), 22970u);
        EXPECT_EQ(Bytes(data.begin(), data.begin() + 4), (Bytes{0x15, 0x1c, 0x2d, 0x00}));
    }
}

TEST(Values, PageEncodedFiles) {
    for (const char* file : {"jackcessencrypt__db97-enc.mdb", "jackcessencrypt__db-enc.mdb"}) {
        SCOPED_TRACE(file);
        const Database db = Database::open(testFile(file));
        EXPECT_TRUE(db.pageEncrypted());
        const auto rows = allRows(db.table("Table1"));
        const std::vector<std::vector<Value>> expected{
            {std::int64_t{1}, std::string("hello"), std::int64_t{0}},
            {std::int64_t{2}, std::string("world"), std::int64_t{42}}};
        EXPECT_EQ(rows, expected);
    }
    EXPECT_FALSE(Database::open(testFile("jackcess__testV2000.mdb")).pageEncrypted());
}

TEST(Values, GuidColumn) {
    const Table table =
        Database::open(testFile("jackcess__testIndexCodesV1997.mdb")).table("Table13");
    ASSERT_EQ(table.columns()[1].type, ColumnType::Guid);
    Cursor cursor = table.cursor();
    std::vector<std::string> guids;
    for (bool more = cursor.moveFirst(); more; more = cursor.moveNext())
        guids.push_back(cursor.text("data"));
    EXPECT_NE(std::find(guids.begin(), guids.end(), "{1C349B69-F399-4042-9191-37FD1F6DEB8F}"),
              guids.end());
}

TEST(Values, CursorRestartsAndCountsWithoutWalking) {
    const Table table =
        Database::open(testFile("jackcess__compIndexTestV2000.mdb")).table("Table1");
    Cursor cursor = table.cursor();
    EXPECT_EQ(cursor.recordCount(), 512u);
    EXPECT_FALSE(cursor.eof()); // a new cursor stands on the first row
    const std::string first = toText(cursor.value(0));
    while (cursor.moveNext()) {
    }
    EXPECT_TRUE(cursor.moveFirst());
    EXPECT_EQ(toText(cursor.value(0)), first);
}

} // namespace
} // namespace jet::test
