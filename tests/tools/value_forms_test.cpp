// The text forms of values that dump writes, and the values import reads back from them: every
// form read back the same, the escapes and standard forms, and refusals that say why.
#include "augurlex-dict/csv_reader.h"
#include "augurlex-dict/csv_values.h"
#include "augurlex-dict/row_formats.h"
#include "augurlex-dict/text_forms.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
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

TEST(JsonForms, EscapeWhatJsonNeedsAndReplaceBytesThatAreNotUtf8) {
    EXPECT_EQ(json(std::string("a\"b\\c\n\r\t\b\f\x01\x1f\x7f", 13)),
              "\"a\\\"b\\\\c\\n\\r\\t\\b\\f\\u0001\\u001f\x7f\"");
    EXPECT_EQ(json(std::string("a\0b", 3)), R"("a\u0000b")");
    EXPECT_EQ(json(std::string("GBK编码 😀")), "\"GBK编码 😀\"");
    const std::string bad = "\xEF\xBF\xBD"; // U+FFFD for each byte that starts no character
    EXPECT_EQ(json(std::string("a\xFF\x62\xC3")), "\"a" + bad + "b" + bad + "\"");
    EXPECT_EQ(json(std::string("\xC0\xAF\xED\xA0\x80")), "\"" + bad + bad + bad + bad + bad + "\"");
    EXPECT_EQ(json(std::string("\xF4\x90\x80\x80")), "\"" + bad + bad + bad + bad + "\"");
}

TEST(ValueForms, EachTypeInJsonAndCsv) {
    EXPECT_EQ(json(jet::Value()) + csv(jet::Value()), "null");
    EXPECT_EQ(json(std::string()) + csv(std::string()), R"("""")"); // "" apart from null
    EXPECT_EQ(json(true) + csv(false), "truefalse");
    EXPECT_EQ(json(444.555) + " " + json(0.0) + " " + json(-0.00035133998608216643),
              "444.555 0 -0.00035133998608216643");
    EXPECT_EQ(json(NAN) + json(-INFINITY) + csv(INFINITY), R"("NaN""-Infinity"Infinity)");
    EXPECT_EQ(json(jet::Currency{-123400}) + csv(jet::Currency{35000}), R"("-12.3400"3.5000)");
    EXPECT_EQ(json(jet::DateTime{2.5}), R"("1900-01-01T12:00:00")");
    jet::Guid guid;
    for (int i = 0; i < 16; ++i)
        guid.bytes[i] = static_cast<std::uint8_t>(i);
    EXPECT_EQ(json(guid), R"("{03020100-0504-0706-0809-0A0B0C0D0E0F}")");
    jet::Decimal decimal{true, 18, 2, {12345}};
    EXPECT_EQ(json(decimal) + csv(decimal), R"("-123.45"-123.45)");
    EXPECT_EQ(json(jet::Bytes{'f', 'o'}) + json(jet::Bytes{0xFB, 0xFF, 0}) + csv(jet::Bytes{}),
              R"("Zm8=""+/8A""")");
}

// Quoted exactly when a field holds what CSV must quote: every length around the widths the
// writer reads at, a special character at every place.
TEST(CsvForms, QuotedExactlyWhenAFieldHoldsWhatCsvMustQuote) {
    const auto field = [](const std::string& text) {
        return capture([&](OutputWriter& out) { putCsvField(out, text); });
    };
    for (std::size_t length = 1; length <= 40; ++length) {
        const std::string plain(length, 'p');
        EXPECT_EQ(field(plain), plain) << length;
        for (char special : {',', '"', '\r', '\n'})
            for (std::size_t at = 0; at < length; ++at) {
                std::string text = plain;
                text[at] = special;
                const std::string inner =
                    special == '"' ? std::string(text).insert(at, 1, '"') : text;
                ASSERT_EQ(field(text), "\"" + inner + "\"") << length << " at " << at;
            }
    }
    // Appended straight to the output: after other text, a null stays unquoted and empty.
    EXPECT_EQ(capture([](OutputWriter& out) {
                  out.put("x,");
                  putCsvFieldAppended(out, [](std::string& text) {
                      text += "a\"b";
                      return true;
                  });
                  out.put(',');
                  putCsvFieldAppended(out, [](std::string&) { return false; });
                  out.put(',');
                  putCsvFieldAppended(out, [](std::string&) { return true; });
              }),
              "x,\"a\"\"b\",,\"\"");
}

TEST(CsvReading, FieldsTakeTheirColumnsTypeOrSayWhyNot) {
    auto read = [](jet::ColumnType type, std::string_view text, std::uint8_t scale = 0) {
        jet::Column column{"c", type};
        column.precision = 10;
        column.scale = scale;
        try {
            jet::Value value = parseFieldValue(column, {text, false});
            return value.is<jet::Decimal>() ? jet::formatDecimal(value.as<jet::Decimal>())
                                            : json(value);
        } catch (const ValueError& error) {
            return std::string("! ") + error.what();
        }
    };
    using T = jet::ColumnType;
    EXPECT_EQ(read(T::Long, ""), "null");
    EXPECT_EQ(read(T::Long, "12x"), "! \"12x\" is not a whole number");
    EXPECT_EQ(read(T::Long, "99999999999999999999"), "! \"99999999999999999999\" is out of range");
    EXPECT_EQ(read(T::Double, "inf"), "! \"inf\" is not a number");
    EXPECT_EQ(read(T::Boolean, "yes"), "! \"yes\" is not true or false");
    EXPECT_EQ(read(T::DateTime, "2024-02-30T00:00:00"),
              "! \"2024-02-30T00:00:00\" is not a valid date and time");
    EXPECT_EQ(read(T::Text, "bad \xC3("), "! the text is not valid UTF-8");
    EXPECT_EQ(read(T::Numeric, "-12.5", 3), "-12.500");
    EXPECT_EQ(read(T::Numeric, "1.2345", 3), "! \"1.2345\" has more than 3 decimal places");
    EXPECT_EQ(read(T::Numeric, "12345678.1", 3),
              "! \"12345678.1\" has more than the column's 10 digits");
    for (auto [type, text] : {std::pair{T::DateTime, "30/01/2024"},
                              {T::Currency, "922337203685478"},
                              {T::Guid, "{0000-0000}"},
                              {T::Ole, "abcde"},
                              {T::Ole, "ab*d"}})
        EXPECT_EQ(read(type, text).substr(0, 2), "! ") << text;
}

// Whatever dump writes reads back as the same value, for random values of every type.
TEST(CsvReading, EveryValueDumpWritesReadsBackTheSame) {
    using T = jet::ColumnType;
    const auto expectSame = [](T type, const jet::Value& value) {
        const std::string text = csv(value) + "\n";
        CsvReader reader(text);
        std::vector<CsvField> fields;
        reader.next(fields);
        EXPECT_EQ(json(parseFieldValue(jet::Column{"c", type}, fields.at(0))), json(value)) << text;
    };
    std::mt19937_64 random(7);
    for (int i = 0; i < 3000; ++i) {
        const std::uint64_t bits = random();
        double real = 0;
        std::memcpy(&real, &bits, sizeof real);
        expectSame(T::Double, std::isnan(real) ? 0.0 : real);
        expectSame(T::Single, std::isfinite(float(real)) ? double(float(real)) : 0.0);
        expectSame(T::Currency, jet::Currency{std::int64_t(bits)});
        expectSame(T::Long, std::int64_t(std::int32_t(bits)));
        expectSame(T::Boolean, bits % 2 == 0);
        // Whole seconds from the year 100 to 9999, before and after day zero.
        const double days = double(bits % 3600000) - 657434,
                     time = double((bits >> 40) % 86400) / 86400;
        expectSame(T::DateTime, jet::DateTime{days < 0 ? days - time : days + time});
        jet::Guid guid;
        std::copy_n(reinterpret_cast<const std::uint8_t*>(&real), 8, guid.bytes.begin() + bits % 9);
        expectSame(T::Guid, guid);
        jet::Bytes bytes(bits % 40);
        std::generate(bytes.begin(), bytes.end(), [&] { return std::uint8_t(random()); });
        expectSame(T::Ole, bytes);
        std::string text; // quotes, commas, line breaks and more
        for (std::uint64_t rest = bits; rest; rest /= 11)
            text +=
                std::array{"a", "Z", " ", ",", "\"", "\r\n", "é", "ж", "天", "𝔘", "\t"}[rest % 11];
        expectSame(T::Memo, text);
    }
}

} // namespace
} // namespace dict
