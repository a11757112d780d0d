// New databases read back through the engine (the oracle tests read the same files with
// independent readers), and the indexes of their catalogue hold the keys of its rows.
#include "check/index_entries.h"
#include "file/header.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"
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

// An Access 2010 file: its header as Access 2010 writes it, its own system tables left out of
// the user's, and text keys in the current "General" order, kept through appends.
TEST(CreateDatabase, Access2010FilesReadBackAndKeepTheirIndexes) {
    test::ScratchDir dir;
    std::vector<TableSpec> tables = test::kDictionary;
    tables[0].indexes = {{{"Key"}}, {{"names", "Key"}}};
    const auto path = dir.write("new.accdb", buildDatabase(tables, {"", 45000.0, Version::Ace14}));
    const auto bytes = test::readBytes(path);
    const detail::Header header = detail::readHeader(bytes, "new.accdb");
    EXPECT_EQ(header.version, Version::Ace14);
    EXPECT_EQ(header.sortOrder, 0x01000409u); // 1033, version 1
    EXPECT_EQ(header.codePage, 1252);
    EXPECT_EQ(header.encodingKey, 0u);

    WriteSession session = WriteSession::open(path);
    for (const char* key : {"Éclair", "eclair", "Ægir", "zebra", "Zoë", "ss", "ß", "ﬁ"})
        session.appendRow("data", {{"names", std::string("n")}, {"Key", std::string(key)}});
    session.commit();
    const Database db = Database::open(path);
    EXPECT_EQ(db.version(), Version::Ace14);
    EXPECT_EQ(db.tableNames(), std::vector<std::string>{"data"});
    EXPECT_EQ(db.table("data").cursor().recordCount(), 8u);
    EXPECT_EQ(checkDatabase(path), std::vector<std::string>{});
}

TEST(CreateDatabase, RefusesWhatCannotBeStored) {
    using T = ColumnType;
    test::errorOf(ErrorKind::Invalid, [] {
        (void)buildDatabase(test::kDictionary, {"twenty-one characters", 1.0});
    });
    // Access 2007 and later keep a password only in an encrypted file; other versions are not
    // created.
    test::errorOf(ErrorKind::Invalid, [] {
        (void)buildDatabase(test::kDictionary, {"pw", 1.0, Version::Ace14});
    });
    for (Version v : {Version::Jet3, Version::Ace12, Version::Ace16})
        test::errorOf(ErrorKind::Invalid, [&] {
            (void)buildDatabase(test::kDictionary, {"", 1.0, v});
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
// In an Access 2010 file too, where the catalogue lists the tables Access 2010 adds.
TEST(CreateDatabase, TheCatalogueIndexesHoldTheKeysOfItsRows) {
    for (Version version : {Version::Jet4, Version::Ace14}) {
        test::ScratchDir dir;
        const auto path = dir.write(
            "c.mdb", buildDatabase({test::kDictionary[0], {"Table 1", {{"a"}}}, {"a_b 9", {{"a"}}}},
                                   {"", {}, version}));
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
}

} // namespace
} // namespace jet
