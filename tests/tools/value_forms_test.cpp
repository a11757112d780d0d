// The text forms of values in JSON lines and CSV.
#include "augurlex-dict/row_formats.h"
#include "augurlex-dict/text_forms.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <random>

namespace dict {
namespace {

template <class Put> std::string capture(Put put) {
    std::string text;
    {
        OutputWriter out(text);
        put(out);
    }
    return text;
}

std::string json(const jet::Value& v) {
    return capture([&](OutputWriter& out) { putJsonValue(out, v); });
}
std::string csv(const jet::Value& v) {
    return capture([&](OutputWriter& out) { putCsvValue(out, v); });
}
std::string jsonString(std::string_view s) {
    return capture([&](OutputWriter& out) { putJsonString(out, s); });
}

TEST(JsonString, EscapesQuotesBackslashAndEveryControlCharacter) {
    EXPECT_EQ(jsonString("a\"b\\c"), R"("a\"b\\c")");
    EXPECT_EQ(jsonString("\n\r\t\b\f"), R"("\n\r\t\b\f")");
    EXPECT_EQ(jsonString(std::string("\x01\x1f\x7f", 3)), "\"\\u0001\\u001f\x7f\"");
    EXPECT_EQ(jsonString(std::string("a\0b", 3)), R"("a\u0000b")");
    EXPECT_EQ(jsonString(""), R"("")");
}

TEST(JsonString, PassesUtf8ThroughAndReplacesInvalidBytes) {
    EXPECT_EQ(jsonString("GBK编码 ä 😀"), "\"GBK编码 ä 😀\"");
    const std::string replacement = "\xEF\xBF\xBD";
    EXPECT_EQ(jsonString("a\xFF"
                         "b"),
              "\"a" + replacement + "b\"");
    EXPECT_EQ(jsonString("\xC3"), "\"" + replacement + "\"");                   // cut short
    EXPECT_EQ(jsonString("\xC0\xAF"), "\"" + replacement + replacement + "\""); // overlong
    EXPECT_EQ(jsonString("\xED\xA0\x80"),
              "\"" + replacement + replacement + replacement + "\"");    // surrogate
    EXPECT_EQ(jsonString("\xF4\x90\x80\x80").substr(1, 3), replacement); // past U+10FFFF
}

TEST(Numbers, DoublesReadBackExactly) {
    std::mt19937_64 random(7);
    for (int i = 0; i < 2000; ++i) {
        std::uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        if (!std::isfinite(d))
            continue;
        std::string text = json(d);
        double back = 0;
        std::from_chars(text.data(), text.data() + text.size(), back);
        EXPECT_EQ(back, d) << text;
    }
    EXPECT_EQ(json(444.555), "444.555");
    EXPECT_EQ(json(0.0), "0");
    EXPECT_EQ(json(static_cast<double>(-0.00035133998608216643f)), "-0.00035133998608216643");
    EXPECT_EQ(json(std::int64_t{-2147483648LL}), "-2147483648");
}

TEST(Numbers, NonFiniteValuesStayValidJson) {
    EXPECT_EQ(json(std::numeric_limits<double>::quiet_NaN()), R"("NaN")");
    EXPECT_EQ(json(-std::numeric_limits<double>::infinity()), R"("-Infinity")");
    EXPECT_EQ(csv(std::numeric_limits<double>::infinity()), "Infinity");
}

TEST(Base64, MatchesTheStandardAlphabetAndPadding) {
    auto b64 = [](std::string s) { return json(jet::Bytes(s.begin(), s.end())); };
    EXPECT_EQ(b64(""), R"("")");
    EXPECT_EQ(b64("f"), R"("Zg==")");
    EXPECT_EQ(b64("fo"), R"("Zm8=")");
    EXPECT_EQ(b64("foo"), R"("Zm9v")");
    EXPECT_EQ(b64("foobar"), R"("Zm9vYmFy")");
    EXPECT_EQ(json(jet::Bytes{0xFB, 0xFF}), R"("+/8=")");
}

TEST(ValueForms, EachTypeInJsonAndCsv) {
    EXPECT_EQ(json(jet::Value()), "null");
    EXPECT_EQ(csv(jet::Value()), "");
    EXPECT_EQ(json(true), "true");
    EXPECT_EQ(csv(false), "false");
    EXPECT_EQ(json(std::string()), R"("")");
    EXPECT_EQ(csv(std::string()), R"("")");
    EXPECT_EQ(json(jet::Currency{-123400}), R"("-12.3400")");
    EXPECT_EQ(csv(jet::Currency{35000}), "3.5000");
    EXPECT_EQ(json(jet::DateTime{2.5}), R"("1900-01-01T12:00:00")");
    jet::Guid guid;
    for (int i = 0; i < 16; ++i)
        guid.bytes[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(json(guid), R"("{03020100-0504-0706-0809-0A0B0C0D0E0F}")");
    jet::Decimal decimal;
    decimal.negative = true;
    decimal.scale = 2;
    decimal.magnitude[0] = 12345;
    EXPECT_EQ(json(decimal), R"("-123.45")");
    EXPECT_EQ(csv(jet::Bytes{}), R"("")");
}

TEST(CsvField, QuotesOnlyWhenNeededAndDoublesQuotes) {
    auto field = [](std::string_view s) {
        return capture([&](OutputWriter& out) { putCsvField(out, s); });
    };
    EXPECT_EQ(field("plain text"), "plain text");
    EXPECT_EQ(field("a,b"), R"("a,b")");
    EXPECT_EQ(field("say \"hi\""), R"("say ""hi""")");
    EXPECT_EQ(field("two\nlines"), "\"two\nlines\"");
    EXPECT_EQ(field("cr\r"), "\"cr\r\"");
    EXPECT_EQ(field("\""), R"("""")");
}

TEST(OutputWriter, KeepsEverythingAcrossManyFlushes) {
    std::string expected;
    std::string text = capture([&](OutputWriter& out) {
        for (int i = 0; i < 100000; ++i) {
            std::string piece = std::to_string(i) + ",";
            expected += piece;
            out.put(piece);
        }
    });
    EXPECT_EQ(text, expected);
}

} // namespace
} // namespace dict
