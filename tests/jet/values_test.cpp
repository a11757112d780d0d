// Typed values as the engine hands them out, in its own walk order, text decoding, and the text
// forms of values where they are subtle. (The oracle tests compare the text of every value of
// every test file, and of values at their limits, with two independent readers.)
#include "read/text_decoder.h"
#include "support.h"

#include <cmath>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

std::vector<std::string> texts(const Table& table, const std::string& column) {
    std::vector<std::string> out;
    for (const auto& row : allRows(table))
        out.push_back(toText(row.at(static_cast<std::size_t>(table.columnIndex(column)))));
    return out;
}

// Compressed text switches to two bytes a character after each zero byte and back after the
// next; surrogate pairs join, lone halves and a cut-off last byte do not pass through.
TEST(Values, Jet4TextSwitchingFormsWithinOneValue) {
    auto decode = [](std::vector<std::uint8_t> bytes) {
        std::string out = "|";
        detail::appendJet4Text(out, bytes);
        return out;
    };
    EXPECT_EQ(decode({0xff, 0xfe, 'A',  'b',  0xe9, ' ',  0x00, 0xa9, 0x03, 0xac, 0x20, 0x34,
                      0xd8, 0x1e, 0xdd, 0x00, 'c',  0xfc, 'd',  0x00, 0x00, '!',  0x00, 0x42}),
              "|Abé Ω€𝄞cüd!");
    EXPECT_EQ(decode({0xff, 0xfe, 0x00, 0x3d, 0xd8, 'x', 0x00, 0xdd, 0xdc, 'q'}), "|\uFFFDx\uFFFD");
    EXPECT_EQ(decode({'W', 0x00, 0x3a, 0x04, 0x00, 0xd8}), "|Wк\uFFFD"); // plain UCS-2
    EXPECT_EQ(decode({0x5c, 0xd5, ' ', 0x00, 0x34, 0xd8, 0x1e, 0xdd, 0x1e, 0xdd, 0xb1, 0x03, 0x00,
                      0xd8, '7', 0x00}),
              "|한 𝄞\uFFFDα\uFFFD7");
}

// The file claims Windows-1252, so only the caller can say that its Jet 3 text is GBK.
TEST(Values, Jet3TextInTheCallersCodePage) {
    const auto path = testFile("ucanaccess__charsetGBK.mdb");
    EXPECT_EQ(Database::open(path).codePage(), 1252);
    EXPECT_EQ(texts(Database::open(path).table("table1"), "field1")[0],
              "GBK\u00b1\u00e0\u00c2\u00eb");
    const Database gbk = Database::open(path, "", OpenOptions{936});
    EXPECT_EQ(gbk.codePage(), 936);
    EXPECT_EQ(texts(gbk.table("table1"), "field1")[0], "GBK编码");
}

// A moved row is read where its slot was, not where its bytes went (the readers differ here).
TEST(Values, MovedRowsAreReadInTheirPlace) {
    for (const char* file :
         {"jackcess__overflowTestV1997.mdb", "jackcess__overflowTestV2003.mdb"}) {
        const Table table = Database::open(testFile(file)).table("Table1");
        EXPECT_EQ(
            texts(table, "data1"),
            (std::vector<std::string>{"row1col1", "row2col1", "", "row4col1", "", "", "row7col1"}));
        EXPECT_EQ(texts(table, "data9")[2], "row3col9") << file;
    }
}

TEST(Values, NullsAndTheEndOfTheWalk) {
    const Table table = Database::open(testFile("access_parser__test.mdb")).table("ClarotyTable");
    Cursor cursor = table.cursor();
    ASSERT_TRUE(cursor.moveNext());
    EXPECT_TRUE(cursor.value("Field3").isNull());
    EXPECT_EQ(cursor.text("Field3"), "");
    EXPECT_EQ(errorOf(ErrorKind::NotFound, [&] { (void)cursor.value("Nope"); }),
              "table \"ClarotyTable\" has no column \"Nope\"");
    EXPECT_FALSE(cursor.moveNext());
    EXPECT_TRUE(cursor.eof());
    errorOf(ErrorKind::Invalid, [&] { (void)cursor.value(0); });
    EXPECT_TRUE(cursor.moveFirst()); // a walk starts again
}

TEST(Format, PlainTextOfEveryKindOfValue) {
    auto decimal = [](bool negative, std::uint8_t scale, std::array<std::uint32_t, 4> words) {
        return Value(Decimal{negative, 28, scale, words});
    };
    const std::vector<std::pair<Value, std::string>> forms{
        {Value(static_cast<double>(3.14f)), "3.14"}, // a single, in its own shortest form
        {Value(0.1), "0.1"},
        {Value(1e300), "1e+300"},
        {Value(Bytes{0x00, 0xab}), "00AB"},
        // Money and decimals exactly.
        {Value(Currency{-1}), "-0.0001"},
        {decimal(true, 5, {1, 0, 0, 0}), "-0.00001"},
        {decimal(false, 3, {0, 0, 0, 0}), "0.000"},
        {decimal(false, 28, {~0u, ~0u, ~0u, 0}), "7.9228162514264337593543950335"},
        {decimal(false, 0, {0, 0, 0, 1}), "79228162514264337593543950336"},
        // Dates count whole days back from 1899-12-30 and the time of day forward.
        {Value(DateTime{-1.25}), "1899-12-29T06:00:00"},
        {Value(DateTime{-0.5}), "1899-12-30T12:00:00"},
        {Value(DateTime{36526.0 + 12.6 / 86400}), "2000-01-01T00:00:13"},
        {Value(DateTime{0.99999999}), "1899-12-31T00:00:00"}, // rounds into the next day
        {Value(DateTime{-1.99999999}), "1899-12-30T00:00:00"},
        {Value(DateTime{std::nan("")}), ""},
        // Extended dates count days from 0001-01-01, to 100 ns; out of range is no date.
        {Value(ExtendedDateTime{0, 1}), "0001-01-01T00:00:00.0000001"},
        {Value(ExtendedDateTime{3'652'058, 863'999'999'999}), "9999-12-31T23:59:59.9999999"},
        {Value(ExtendedDateTime{3'652'059, 0}), ""},
        {Value(ComplexValue{ComplexKind::MultipleValues,
                            {},
                            {Value(std::int64_t{1}), Value(std::int64_t{2})},
                            {},
                            7}),
         "1; 2"}};
    for (const auto& [value, text] : forms)
        EXPECT_EQ(toText(value), text);
}

} // namespace
} // namespace jet::test
