// Index keys must sort as Jet sorts: entries are compared as plain bytes.
#include "index_key.h"
#include "jet/error.h"

#include <gtest/gtest.h>

namespace jet::detail {
namespace {

std::vector<std::uint8_t> longKey(std::int32_t v) {
    std::vector<std::uint8_t> k;
    appendLongKey(k, v);
    return k;
}
std::vector<std::uint8_t> textKey(std::string_view s) {
    std::vector<std::uint8_t> k;
    appendTextKey(k, s);
    return k;
}

TEST(IndexKey, LongsSortNumerically) {
    std::vector<std::int32_t> values{INT32_MIN, -70000, -1, 0, 1, 255, 256, 0x0f000000, INT32_MAX};
    for (std::size_t i = 1; i < values.size(); ++i)
        EXPECT_LT(longKey(values[i - 1]), longKey(values[i])) << values[i];
    EXPECT_EQ(longKey(2), (std::vector<std::uint8_t>{0x7f, 0x80, 0x00, 0x00, 0x02}));
}

TEST(IndexKey, TextIgnoresCaseAndSortsDigitsFirst) {
    EXPECT_EQ(textKey("Tables"), textKey("tABLES"));
    EXPECT_LT(textKey("MSysDb"), textKey("MSysObjects"));
    EXPECT_LT(textKey("data"), textKey("Databases"));
    EXPECT_LT(textKey("Table 1"), textKey("Table1"));
    EXPECT_LT(textKey("9"), textKey("a"));
    EXPECT_LT(textKey(""), textKey("a"));
    // The form Jet itself writes for a catalogue name.
    EXPECT_EQ(textKey("Tables"),
              (std::vector<std::uint8_t>{0x7f, 0x6d, 0x4a, 0x4c, 0x5e, 0x51, 0x6b, 0x01, 0x00}));
}

TEST(IndexKey, DescendingInvertsOrder) {
    std::vector<std::uint8_t> a, b;
    appendLongKey(a, 1, false);
    appendLongKey(b, 2, false);
    EXPECT_GT(a, b);
}

TEST(IndexKey, RefusesCharactersOutsideItsTable) {
    std::vector<std::uint8_t> k;
    EXPECT_THROW(appendTextKey(k, "a-b"), Error);
    EXPECT_THROW(appendTextKey(k, "\xc3\xa9"), Error);
}

} // namespace
} // namespace jet::detail
