// New databases read back through the engine (the oracle tests read the same files with
// independent readers), and the indexes of their catalogue hold the keys of its rows.
#include "check/index_entries.h"
#include "jet/check.h"
#include "jet/create.h"
#include "read/state.h"
#include "support.h"

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

// The catalogue's indexes hold the keys of its rows, as the check finds a user table's (it leaves
// system tables alone, as Access keeps their indexes its own way).
TEST(CreateDatabase, TheCatalogueIndexesHoldTheKeysOfItsRows) {
    test::ScratchDir dir;
    const auto path = dir.write(
        "c.mdb", buildDatabase({test::kDictionary[0], {"Table 1", {{"a"}}}, {"a_b 9", {{"a"}}}}));
    const Database db = Database::open(path);
    const DatabaseState& state = *detail::DatabaseAccess::state(db);
    const detail::TableDef catalogue = detail::readTableDef(
        state.pages, *state.format, *state.textDecoder, detail::kCatalogPage, "MSysObjects");
    ASSERT_EQ(catalogue.indexes.size(), 2u);
    detail::TableScan scan(state.pages, *state.format, catalogue);
    std::uint64_t rows = 0;
    while (scan.next())
        ++rows;
    std::vector<std::string> faults;
    detail::checkIndexEntries(
        state.pages, *state.format, *state.textDecoder, state.header.sortOrder, catalogue, rows,
        "MSysObjects", [&](std::string f) { faults.push_back(f); },
        [&](detail::KeyDifference d) { faults.push_back(d.what); });
    EXPECT_EQ(faults, std::vector<std::string>{});
}

} // namespace
} // namespace jet
