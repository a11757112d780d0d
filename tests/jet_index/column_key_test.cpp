// Keys of single values: the byte order of a key must be the order Access sorts the values in,
// ascending and descending, for every type an index can hold.
#include "index_support.h"
#include "jet/error.h"
#include "keys/text_key.h"

#include <algorithm>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

using detail::KeyColumn;
using detail::TextSortOrder;

Key keyOf(const Value& value, ColumnType type, bool ascending = true,
          TextSortOrder order = TextSortOrder::GeneralLegacy) {
    Key key;
    KeyColumn column;
    column.type = type;
    column.ascending = ascending;
    column.textOrder = order;
    detail::appendColumnKey(key, value, column);
    return key;
}

// The keys of `values` (given in their sort order) rise strictly, and fall when descending.
void expectOrdered(const std::vector<Value>& values, ColumnType type) {
    for (bool ascending : {true, false})
        for (std::size_t i = 1; i < values.size(); ++i) {
            const Key a = keyOf(values[i - 1], type, ascending);
            const Key b = keyOf(values[i], type, ascending);
            EXPECT_EQ(ascending, a < b)
                << columnTypeName(type) << " " << i << " " << hex(a) << " " << hex(b);
        }
}

Decimal decimal(bool negative, std::uint32_t low) {
    Decimal d;
    d.negative = negative;
    d.magnitude[0] = low;
    return d;
}

TEST(ColumnKeys, NumbersSortByValueInBothDirections) {
    expectOrdered({std::int64_t{0}, std::int64_t{1}, std::int64_t{200}, std::int64_t{255}},
                  ColumnType::Byte);
    expectOrdered({std::int64_t{-32768}, std::int64_t{-1}, std::int64_t{0}, std::int64_t{32767}},
                  ColumnType::Integer);
    expectOrdered({std::int64_t{-2147483648LL}, std::int64_t{-5}, std::int64_t{0}, std::int64_t{7},
                   std::int64_t{2147483647}},
                  ColumnType::Long);
    expectOrdered({Currency{-100000}, Currency{-1}, Currency{0}, Currency{99999999}},
                  ColumnType::Currency);
    expectOrdered({-1e300, -2.5, -0.0001, 0.0, 1e-10, 3.25, 1e300}, ColumnType::Double);
    expectOrdered({-3.5, -1.0, 0.0, 0.5, 1e20}, ColumnType::Single);
    expectOrdered({DateTime{-700.5}, DateTime{0}, DateTime{45000.25}}, ColumnType::DateTime);
}

TEST(ColumnKeys, DecimalsPutNegativesFirstEvenDescending) {
    // Descending keys keep negative numbers ahead of positive ones (as the files of Access
    // 2000-2003 do), ordering each group in reverse.
    for (const auto& [rising, ascending] : std::vector<std::pair<std::vector<Decimal>, bool>>{
             {{decimal(true, 5), decimal(true, 1), decimal(false, 0), decimal(false, 9)}, true},
             {{decimal(true, 1), decimal(false, 9), decimal(false, 1)}, false}})
        for (std::size_t i = 1; i < rising.size(); ++i)
            EXPECT_LT(keyOf(rising[i - 1], ColumnType::Numeric, ascending),
                      keyOf(rising[i], ColumnType::Numeric, ascending))
                << ascending << " " << i;
}

TEST(ColumnKeys, BinaryAndGuidKeysAreSegmentsOfEightBytes) {
    EXPECT_EQ(hex(keyOf(Bytes{1, 2, 3}, ColumnType::Binary)), "7f010203000000000003");
    EXPECT_EQ(hex(keyOf(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}, ColumnType::Binary)),
              "7f010203040506070809090000000000000001");
    // Descending: each segment complemented, the "more follows" marks left as they are.
    EXPECT_EQ(hex(keyOf(Bytes{1, 2, 3, 4, 5, 6, 7, 8, 9}, ColumnType::Binary, false)),
              "80fefdfcfbfaf9f8f709f6fffffffffffffffe");
    Guid guid;
    for (std::uint8_t i = 0; i < 16; ++i)
        guid.bytes[i] = i;
    // The first three groups are stored least significant byte first and sort the other way.
    EXPECT_EQ(hex(keyOf(guid, ColumnType::Guid)), "7f03020100050407060908090a0b0c0d0e0f08");
}

TEST(ColumnKeys, NullsSortFirstAndBooleansAreNeverNull) {
    EXPECT_EQ(hex(keyOf(Value{}, ColumnType::Long)), "00");
    EXPECT_EQ(hex(keyOf(Value{}, ColumnType::Long, false)), "ff");
    EXPECT_EQ(hex(keyOf(true, ColumnType::Boolean)), "7f00");
    EXPECT_EQ(hex(keyOf(false, ColumnType::Boolean)), "7fff");
    EXPECT_EQ(hex(keyOf(Value{}, ColumnType::Boolean)), "7fff");
    EXPECT_EQ(hex(keyOf(true, ColumnType::Boolean, false)), "80ff");
}

TEST(ColumnKeys, TextIgnoresCaseAndTrailingSpaces) {
    for (TextSortOrder order :
         {TextSortOrder::GeneralLegacy, TextSortOrder::General, TextSortOrder::General97}) {
        const Key lower = keyOf(std::string("fehu"), ColumnType::Text, true, order);
        EXPECT_EQ(lower, keyOf(std::string("fehu   "), ColumnType::Text, true, order));
        EXPECT_EQ(lower, keyOf(std::string("FEHU"), ColumnType::Text, true, order));
        // Accents only break ties after the letters: "fëhu" differs from "fehu" but comes
        // before "fehux".
        const Key longer = keyOf(std::string("fehux"), ColumnType::Text, true, order);
        EXPECT_LT(lower, longer);
        const Key accented = keyOf(std::string("fëhu"), ColumnType::Text, true, order);
        EXPECT_NE(accented, lower);
        EXPECT_LT(accented, longer);
    }
}

// Descending, a longer text comes first; a key holds at most 255 characters.
TEST(ColumnKeys, DescendingTextPutsLongerTextsFirstAndKeysHoldAtMost255Characters) {
    for (TextSortOrder order : {TextSortOrder::GeneralLegacy, TextSortOrder::General97}) {
        const Key shorter = keyOf(std::string("ans"), ColumnType::Text, false, order);
        EXPECT_LT(keyOf(std::string("ansuz"), ColumnType::Text, false, order), shorter);
        EXPECT_EQ(shorter.front(), 0x80);
        EXPECT_EQ(keyOf(std::string(300, 'a'), ColumnType::Text, true, order),
                  keyOf(std::string(255, 'a') + "zzz", ColumnType::Text, true, order));
    }
}

// Keys Access stored: a letter that sorts as two ("ß" as "ss") before the first accent counts
// twice in the positions of the accents (Access 97, Access 2000) and of the characters that sort
// by position only (a hyphen).
TEST(ColumnKeys, LettersThatSortAsTwoTakeTwoPositions) {
    const std::string supplier = "Plutzer Lebensmittelgroßmärkte AG";
    std::string fillers;
    for (int i = 0; i < 26; ++i)
        fillers += "02";
    EXPECT_EQ(hex(keyOf(supplier, ColumnType::Text)),
              "7f665e6f6d785169075e514c51626b60596d6d515e5569646b6b604a695c6d51074a5501" + fillers +
                  "1300");
    EXPECT_EQ(hex(keyOf(std::string("NuNuCa Nuß-Nougat-Creme"), ColumnType::Text)),
              "7f626f626f4d4a07626f6b6b62646f554a6d4d695160510101010180330682804b068200");
    EXPECT_EQ(hex(keyOf(supplier, ColumnType::Text, true, TextSortOrder::General97)),
              "7f736d78777e6675116d66616670766f6a7777666d68757276766f60756c7766116068022222222222"
              "60");
}

// Access 97 text is Windows-1252: a character beyond it has no known weight, and the row is
// refused rather than given a key that may be wrong.
TEST(ColumnKeys, Access97KeysRefuseCharactersOutsideWindows1252) {
    EXPECT_NO_THROW(keyOf(std::string("\u20ac \u0152uvre \u2122"), ColumnType::Text, true,
                          TextSortOrder::General97));
    for (const char* text : {"\u16a0 fehu", "a\u0080"})
        EXPECT_TRUE(mentions(errorOf(ErrorKind::Invalid,
                                     [&] {
                                         keyOf(std::string(text), ColumnType::Text, true,
                                               TextSortOrder::General97);
                                     }),
                             "Windows-1252"))
            << text;
}

} // namespace
} // namespace jet::test
