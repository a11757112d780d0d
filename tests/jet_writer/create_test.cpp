// New databases read back through the engine (the oracle tests read the same files with
// independent readers), and the index keys of their catalogue sort as Jet sorts.
#include "jet/check.h"
#include "jet/create.h"
#include "support.h"
#include "write/index_key.h"

#include <gtest/gtest.h>

namespace jet {
namespace {

TEST(CreateDatabase, TablesReadBackAsDefined) {
    test::ScratchDir dir;
    const auto path = dir.path / "new.mdb";
    const std::vector<TableSpec> tables{
        test::kDictionary[0],
        {"Other table", {{"Id", ColumnType::Long, 255, true}, {"Flag", ColumnType::Boolean}}}};
    createDatabase(path, tables, {"Zauberwort-ü", 45000.5});
    EXPECT_EQ(test::readBytes(path), buildDatabase(tables, {"Zauberwort-ü", 45000.5}));

    const Database db = Database::open(path, "Zauberwort-ü");
    EXPECT_EQ(db.tableNames(), (std::vector<std::string>{"data", "Other table"}));
    std::string columns;
    for (const auto& name : db.tableNames())
        for (const Column& c : db.table(name).columns())
            columns += c.name + ":" + columnTypeName(c.type) + ":" + std::to_string(c.length) +
                       (c.compressedUnicode ? " compressed" : "") + (c.autoNumber ? " auto" : "") +
                       ", ";
    EXPECT_EQ(columns, "names:Text:510 compressed, Key:Text:510 compressed, Link:Memo:0 "
                       "compressed, Id:Long:4 auto, Flag:Boolean:1, ");
    EXPECT_TRUE(db.table("data").indexes().empty());
    EXPECT_EQ(db.table("data").cursor().recordCount(), 0u);
    EXPECT_EQ(checkDatabase(path, "Zauberwort-ü"), std::vector<std::string>{});
    test::errorOf(ErrorKind::BadPassword, [&] { (void)Database::open(path, "zauberwort-ü"); });
    const auto open = dir.write("open.mdb", buildDatabase(test::kDictionary, {"", 44000.25}));
    EXPECT_FALSE(Database::open(open, "anything").hasPassword());
}

TEST(CreateDatabase, RefusesWhatCannotBeStored) {
    using T = ColumnType;
    test::errorOf(ErrorKind::Invalid, [] {
        (void)buildDatabase(test::kDictionary, {"twenty-one characters", 1.0});
    });
    for (const std::vector<TableSpec>& tables :
         std::vector<std::vector<TableSpec>>{{{"da/ta", {{"a", T::Text}}}},
                                             {{"MSysData", {{"a", T::Text}}}},
                                             {{"t", {}}},
                                             {{"t", {{"a", T::Text}, {"a", T::Long}}}},
                                             {{"t", {{"a", T::Text, 0}}}},
                                             {{"t", {{"a", T::Text, 255, true}}}},
                                             {{"t", {{"a", T::Numeric}}}},
                                             {{"t", {{"a", T::Text}}}, {"T", {{"a", T::Text}}}}})
        test::errorOf(ErrorKind::Invalid, [&] { (void)buildDatabase(tables); });
}

// Index keys of the catalogue sort as Jet sorts: entries compare as plain bytes.
TEST(IndexKey, SortsAsJetSorts) {
    auto key = [](auto value, bool ascending = true) {
        std::vector<std::uint8_t> k;
        if constexpr (std::is_same_v<decltype(value), int>)
            detail::appendLongKey(k, value, ascending);
        else
            detail::appendTextKey(k, value);
        return k;
    };
    const std::vector<int> longs{INT32_MIN, -70000, -1, 0, 1, 255, 256, 0x0f000000, INT32_MAX};
    for (std::size_t i = 1; i < longs.size(); ++i)
        EXPECT_LT(key(longs[i - 1]), key(longs[i])) << longs[i];
    EXPECT_EQ(key(2), (std::vector<std::uint8_t>{0x7f, 0x80, 0x00, 0x00, 0x02}));
    EXPECT_GT(key(1, false), key(2, false));
    // Text in the General order: case ignored, space first, digits before letters.
    EXPECT_EQ(key("Tables"), key("tABLES"));
    EXPECT_EQ(key("Tables"),
              (std::vector<std::uint8_t>{0x7f, 0x6d, 0x4a, 0x4c, 0x5e, 0x51, 0x6b, 0x01, 0x00}));
    const char* ordered[] = {"MSysDb", "MSysObjects", "data", "Databases", "Table 1", "Table1",
                             "9",      "a",           "",     "a",         "a_b",     "ab"};
    for (std::size_t i = 0; i < std::size(ordered); i += 2)
        EXPECT_LT(key(ordered[i]), key(ordered[i + 1])) << ordered[i];
    for (const char* unsupported : {"a-b", "\xc3\xa9"})
        test::errorOf(ErrorKind::Invalid, [&] { (void)key(unsupported); });
}

} // namespace
} // namespace jet
