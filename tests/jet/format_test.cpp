// The text forms of values shared by the tools and the program.
#include "jet/value.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

namespace jet {
namespace {

TEST(Format, CurrencyIsExactWithFourDecimals) {
    EXPECT_EQ(formatCurrency({0}), "0.0000");
    EXPECT_EQ(formatCurrency({35000}), "3.5000");
    EXPECT_EQ(formatCurrency({-123400}), "-12.3400");
    EXPECT_EQ(formatCurrency({-1}), "-0.0001");
    EXPECT_EQ(formatCurrency({std::numeric_limits<std::int64_t>::min()}), "-922337203685477.5808");
    EXPECT_EQ(formatCurrency({std::numeric_limits<std::int64_t>::max()}), "922337203685477.5807");
}

TEST(Format, DecimalIsExactWithoutExponent) {
    auto decimal = [](bool negative, std::uint8_t scale, std::array<std::uint32_t, 4> words) {
        Decimal d;
        d.negative = negative;
        d.scale = scale;
        d.magnitude = words;
        return d;
    };
    EXPECT_EQ(formatDecimal(decimal(false, 2, {12345, 0, 0, 0})), "123.45");
    EXPECT_EQ(formatDecimal(decimal(true, 5, {1, 0, 0, 0})), "-0.00001");
    EXPECT_EQ(formatDecimal(decimal(true, 0, {0, 0, 0, 0})), "0");
    EXPECT_EQ(formatDecimal(decimal(false, 3, {0, 0, 0, 0})), "0.000");
    EXPECT_EQ(formatDecimal(decimal(false, 0, {~0u, ~0u, ~0u, 0})),
              "79228162514264337593543950335");
    EXPECT_EQ(formatDecimal(decimal(false, 28, {~0u, ~0u, ~0u, 0})),
              "7.9228162514264337593543950335");
    EXPECT_EQ(formatDecimal(decimal(false, 0, {0, 0, 0, 1})), "79228162514264337593543950336");
}

TEST(Format, DateTimeAcrossTheWholeRange) {
    EXPECT_EQ(formatDateTime({0}), "1899-12-30T00:00:00");
    EXPECT_EQ(formatDateTime({2}), "1900-01-01T00:00:00");
    EXPECT_EQ(formatDateTime({61}), "1900-03-01T00:00:00");
    EXPECT_EQ(formatDateTime({1.5}), "1899-12-31T12:00:00");
    // Before 1899-12-30 the whole part counts back while the fraction still runs forward.
    EXPECT_EQ(formatDateTime({-1.25}), "1899-12-29T06:00:00");
    EXPECT_EQ(formatDateTime({-0.5}), "1899-12-30T12:00:00");
    EXPECT_EQ(formatDateTime({-657434}), "0100-01-01T00:00:00");
    EXPECT_EQ(formatDateTime({2958465.99998843}), "9999-12-31T23:59:59");
    EXPECT_EQ(formatDateTime({36526.0 + 12.0 / 86400 + 0.6 / 86400}), "2000-01-01T00:00:13");
    EXPECT_EQ(formatDateTime({0.99999999}), "1899-12-31T00:00:00"); // rounds into the next day
    EXPECT_EQ(formatDateTime({-1.99999999}), "1899-12-30T00:00:00");
    EXPECT_EQ(formatDateTime({std::nan("")}), "");
}

TEST(Format, GuidAsWindowsWritesIt) {
    Guid g;
    for (std::uint8_t i = 0; i < 16; ++i)
        g.bytes[i] = static_cast<std::uint8_t>(i * 0x11);
    EXPECT_EQ(formatGuid(g), "{33221100-5544-7766-8899-AABBCCDDEEFF}");
}

TEST(Format, PlainTextOfEveryKindOfValue) {
    EXPECT_EQ(toText(Value()), "");
    EXPECT_EQ(toText(Value(true)), "true");
    EXPECT_EQ(toText(Value(false)), "false");
    EXPECT_EQ(toText(Value(std::int64_t{-2147483648LL})), "-2147483648");
    EXPECT_EQ(toText(Value(444.555)), "444.555");
    EXPECT_EQ(toText(Value(static_cast<double>(3.14f))), "3.14"); // a single
    EXPECT_EQ(toText(Value(0.1)), "0.1");
    EXPECT_EQ(toText(Value(1e300)), "1e+300");
    EXPECT_EQ(toText(Value(Currency{12345})), "1.2345");
    EXPECT_EQ(toText(Value(DateTime{2})), "1900-01-01T00:00:00");
    EXPECT_EQ(toText(Value(std::string("é"))), "é");
    EXPECT_EQ(toText(Value(Bytes{0x00, 0xab})), "00AB");
}

} // namespace
} // namespace jet
