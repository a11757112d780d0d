// Reading CSV records and turning fields back into values: everything `dump --format csv`
// writes must read back as the same value, and bad input must be refused with its line.
#include "augurlex-dict/csv_reader.h"
#include "augurlex-dict/csv_values.h"
#include "augurlex-dict/row_formats.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace dict {
namespace {

using Records = std::vector<std::vector<std::pair<std::string, bool>>>;

Records readAll(std::string_view text) {
    CsvReader reader(text);
    std::vector<CsvField> fields;
    Records records;
    while (reader.next(fields)) {
        records.emplace_back();
        for (const CsvField& f : fields)
            records.back().emplace_back(std::string(f.text), f.quoted);
    }
    return records;
}

std::size_t errorLine(std::string_view text) {
    try {
        readAll(text);
    } catch (const CsvError& error) {
        return error.line();
    }
    return 0;
}

TEST(CsvReader, QuotingLineBreaksAndByteOrderMark) {
    Records r = readAll("\xEF\xBB\xBFKey,Link\r\n"
                        "\"a,b\",\"say \"\"hi\"\"\"\n"
                        "\"two\r\nlines\",\n"
                        ",\"\"\r\n"
                        "last,row");
    ASSERT_EQ(r.size(), 5u);
    EXPECT_EQ(r[0][0].first, "Key"); // the mark is not part of the first name
    EXPECT_EQ(r[1][0].first, "a,b");
    EXPECT_EQ(r[1][1].first, "say \"hi\"");
    EXPECT_EQ(r[2][0].first, "two\r\nlines");
    EXPECT_EQ(r[2][1], std::make_pair(std::string(), false)); // null
    EXPECT_EQ(r[3][1], std::make_pair(std::string(), true));  // zero-length string
    EXPECT_EQ(r[4][1].first, "row");
}

TEST(CsvReader, MalformedRecordsNameTheirLine) {
    EXPECT_EQ(errorLine("a,b\n1,\"open\n\nstill open"), 2u);
    EXPECT_EQ(errorLine("a\n\"x\"y\n"), 2u);
    EXPECT_EQ(errorLine("a\n\"one\ntwo\"\nab\"c\n"), 4u); // lines inside quotes count
}

TEST(CsvReader, RecordLineCountsLinesInsideQuotes) {
    CsvReader reader("h\n\"1\n2\n3\"\nnext\n");
    std::vector<CsvField> fields;
    reader.next(fields);
    reader.next(fields);
    EXPECT_EQ(reader.recordLine(), 2u);
    reader.next(fields);
    EXPECT_EQ(reader.recordLine(), 5u);
    EXPECT_FALSE(reader.next(fields));
}

jet::Column columnOf(jet::ColumnType type, std::uint8_t precision = 0, std::uint8_t scale = 0) {
    jet::Column c;
    c.name = "c";
    c.type = type;
    c.precision = precision;
    c.scale = scale;
    return c;
}

// The value written as dump writes it, then read back.
jet::Value throughCsv(const jet::Column& column, const jet::Value& value) {
    std::string text;
    {
        OutputWriter out(text);
        putCsvValue(out, value);
    }
    std::vector<CsvField> fields;
    CsvReader reader(text.empty() ? std::string_view("\n") : std::string_view(text));
    reader.next(fields);
    return parseFieldValue(column, fields.at(0));
}

TEST(FieldValues, EveryDumpFormReadsBackAsTheSameValue) {
    std::mt19937_64 random(7);
    using T = jet::ColumnType;
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isnan(d))
            continue; // NaN is checked below: it never equals itself
        EXPECT_EQ(throughCsv(columnOf(T::Double), d), jet::Value(d));
        float f = static_cast<float>(d);
        if (std::isfinite(f))
            EXPECT_EQ(throughCsv(columnOf(T::Single), double{f}), jet::Value(double{f}));
        auto scaled = static_cast<std::int64_t>(random());
        EXPECT_EQ(throughCsv(columnOf(T::Currency), jet::Currency{scaled}),
                  jet::Value(jet::Currency{scaled}));
        jet::Guid g;
        for (auto& b : g.bytes)
            b = static_cast<std::uint8_t>(random());
        EXPECT_EQ(throughCsv(columnOf(T::Guid), g), jet::Value(g));
        jet::Bytes bytes(random() % 7);
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        EXPECT_EQ(throughCsv(columnOf(T::Ole), bytes), jet::Value(bytes));
        // Whole seconds from year 100 to 9999, before and after day zero.
        double days = static_cast<double>(static_cast<std::int64_t>(random() % 3600000) - 657434);
        double seconds = static_cast<double>(random() % 86400);
        jet::DateTime when{days < 0 ? days - seconds / 86400 : days + seconds / 86400};
        EXPECT_EQ(jet::formatDateTime(throughCsv(columnOf(T::DateTime), when).as<jet::DateTime>()),
                  jet::formatDateTime(when));
    }
    EXPECT_TRUE(std::isnan(throughCsv(columnOf(T::Double), NAN).as<double>()));
    EXPECT_EQ(throughCsv(columnOf(T::Double), -INFINITY), jet::Value(-INFINITY * 1.0));
    EXPECT_EQ(throughCsv(columnOf(T::Long), std::int64_t{-2147483648LL}),
              jet::Value(std::int64_t{-2147483648LL}));
    EXPECT_EQ(throughCsv(columnOf(T::Boolean), false), jet::Value(false));
    EXPECT_EQ(throughCsv(columnOf(T::Text), std::string()), jet::Value(std::string()));
    EXPECT_EQ(throughCsv(columnOf(T::Text), jet::Value()), jet::Value());
    EXPECT_EQ(throughCsv(columnOf(T::Binary), jet::Bytes{}), jet::Value(jet::Bytes{}));
    EXPECT_EQ(throughCsv(columnOf(T::Memo), std::string("a \"b\",\r\n𝔘")),
              jet::Value(std::string("a \"b\",\r\n𝔘")));
}

TEST(FieldValues, DecimalsTakeTheColumnsScaleAndPrecision) {
    jet::Column money = columnOf(jet::ColumnType::Numeric, 10, 3);
    jet::Value v = parseFieldValue(money, {"-12.5", false});
    EXPECT_EQ(jet::formatDecimal(v.as<jet::Decimal>()), "-12.500");
    EXPECT_EQ(v.as<jet::Decimal>().magnitude[0], 12500u);
    EXPECT_EQ(jet::formatDecimal(parseFieldValue(money, {"0.000", false}).as<jet::Decimal>()),
              "0.000");
    EXPECT_THROW(parseFieldValue(money, {"1.2345", false}), ValueError);     // scale
    EXPECT_THROW(parseFieldValue(money, {"12345678.1", false}), ValueError); // precision
    jet::Column wide = columnOf(jet::ColumnType::Numeric, 28, 0);
    EXPECT_EQ(
        jet::formatDecimal(
            parseFieldValue(wide, {"9999999999999999999999999999", false}).as<jet::Decimal>()),
        "9999999999999999999999999999");
}

TEST(FieldValues, RefusedInputSaysWhy) {
    using T = jet::ColumnType;
    auto refused = [](T type, std::string_view text) {
        try {
            parseFieldValue(columnOf(type), {text, false});
        } catch (const ValueError& error) {
            return std::string(error.what());
        }
        return std::string("accepted");
    };
    EXPECT_EQ(refused(T::Long, "12x"), "\"12x\" is not a whole number");
    EXPECT_EQ(refused(T::Long, "99999999999999999999"), "\"99999999999999999999\" is out of range");
    EXPECT_EQ(refused(T::Double, "inf"), "\"inf\" is not a number");
    EXPECT_EQ(refused(T::Boolean, "yes"), "\"yes\" is not true or false");
    EXPECT_EQ(refused(T::DateTime, "2024-02-30T00:00:00"),
              "\"2024-02-30T00:00:00\" is not a valid date and time");
    EXPECT_NE(refused(T::DateTime, "30/01/2024"), "accepted");
    EXPECT_NE(refused(T::Currency, "1.23456"), "accepted");
    EXPECT_NE(refused(T::Currency, "922337203685478"), "accepted");
    EXPECT_NE(refused(T::Guid, "{0000-0000}"), "accepted");
    EXPECT_NE(refused(T::Ole, "abcde"), "accepted");
    EXPECT_NE(refused(T::Ole, "ab*d"), "accepted");
    EXPECT_EQ(refused(T::Text, "bad \xC3("), "the text is not valid UTF-8");
}

} // namespace
} // namespace dict
