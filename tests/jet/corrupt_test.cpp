// Changed copies of real files, built at test time: damage must end in a Corrupt error that names
// the page, never a crash, a hang or a wrong row count; what is sound but unusual must read.
#include "jet/check.h"
#include "read/long_value.h"
#include "read/names.h"
#include "read/row.h"
#include "read/slot_table.h"
#include "read/table_scan.h"
#include "read/usage_map.h"
#include "support.h"

#include <gtest/gtest.h>

namespace jet::test {
namespace {

using detail::putLe16;
using detail::putLe32;

// Reads every field of every table of the changed copy, expecting a Corrupt error naming `what`.
void expectCorrupt(ScratchDir& dir, const std::vector<std::uint8_t>& bytes,
                   const std::string& what) {
    const std::string message = errorOf(ErrorKind::Corrupt, [&] {
        const Database db = Database::open(dir.write("damaged.mdb", bytes));
        for (const auto& name : db.tableNames())
            (void)allRows(db.table(name));
    });
    EXPECT_TRUE(mentions(message, what)) << message;
}

TEST(Corrupt, CountsAndPointersOutOfBounds) {
    ScratchDir dir;
    Anatomy file(testFile("jackcess__testV2000.mdb"));
    const detail::TableDef def = file.tableDef("Table1");
    std::uint32_t data = 0; // the table's first data page
    for (std::uint32_t page : detail::tableOwnedPages(file.pages, file.format, def))
        if (data == 0 && detail::isDataPageOf(file.pages.page(page), def.page))
            data = page;
    ASSERT_NE(data, 0u);
    // A user table's definition is swept byte by byte in tests/damage; here the catalogue and
    // the data pages.
    const std::vector<std::tuple<std::size_t, std::uint32_t, int, std::string>> damage{
        {file.at(2, 4), 0x00abcdef, 4, "page 11259375"}, // the catalogue continues past the end
        {file.at(data, file.format.dataRowCountOffset), 0xffff, 2, "page " + std::to_string(data)},
        {file.at(data, file.format.dataFirstSlotOffset()), 0x1ff0, 2, "bad bounds"}};
    for (const auto& [offset, value, size, what] : damage) {
        auto bytes = file.bytes;
        size == 2 ? putLe16(bytes, offset, static_cast<std::uint16_t>(value))
                  : putLe32(bytes, offset, value);
        expectCorrupt(dir, bytes, what);
    }
    expectCorrupt(dir, {file.bytes.begin(), file.bytes.begin() + 100},
                  "shorter than its first page");
    expectCorrupt(dir, {file.bytes.begin(), file.bytes.begin() + 4096 * 2 + 100}, "page 2");
    // An encoded copy whose header names another key than its pages'.
    expectCorrupt(dir, encodePages(encodePages(file.bytes, 0x5eed), 0x5eee),
                  "damaged.mdb: its pages do not decode with the key in its header");
}

TEST(Corrupt, LongValueChainThatLoops) {
    ScratchDir dir;
    // The first piece names itself.
    Anatomy jet4(testFile("jackcess__test2V2003.mdb"));
    const detail::TableDef def = jet4.tableDef("MSP_PROJECTS");
    detail::TableScan scan(jet4.pages, jet4.format, def);
    ASSERT_TRUE(scan.next());
    detail::RowFrame scratch;
    std::vector<detail::FieldRef> fields;
    detail::crackRow(jet4.format, def, scan.row(), scan.rowPage(), scratch, fields);
    const std::uint32_t pointer =
        detail::parseLongValueHeader(fields
                                         .at(static_cast<std::size_t>(detail::columnPosition(
                                             def.columns, "RESERVED_BINARY_DATA")))
                                         .bytes)
            .pointer;
    auto bytes = jet4.bytes;
    putLe32(bytes, jet4.rowOffset(pointer), pointer);
    expectCorrupt(dir, bytes,
                  "column \"RESERVED_BINARY_DATA\" of table \"MSP_PROJECTS\" has a "
                  "long-value chain that loops");
}

// The reader counts the rows there are; the check reports a stored count that says otherwise.
TEST(Corrupt, StoredRowCountLargerThanTheRows) {
    Anatomy file(testFile("jackcess__testV2000.mdb"));
    auto bytes = file.bytes;
    putLe32(bytes, file.at(file.tableDef("Table1").page, file.format.tdefRowCount), 7);
    ScratchDir dir;
    const auto path = dir.write("count.mdb", bytes);
    const Table table = Database::open(path).table("Table1");
    EXPECT_EQ(table.storedRowCount(), 7u);
    EXPECT_EQ(table.cursor().recordCount(), 2u);
    EXPECT_EQ(allRows(table), allRows(testFile("jackcess__testV2000.mdb"), "Table1"));
    EXPECT_EQ(
        checkDatabase(path),
        std::vector<std::string>{"table \"Table1\": stores a row count of 7 but holds 2 rows"});
    EXPECT_EQ(checkDatabase(testFile("jackcess__testV2000.mdb")), std::vector<std::string>{});

    // A map that cannot be read does not hide the table's other faults.
    bytes[file.rowOffset(file.tableDef("Table1").freePagesMap)] = 7;
    const std::vector<std::string> faults = checkDatabase(dir.write("two faults.mdb", bytes));
    ASSERT_EQ(faults.size(), 2u);
    EXPECT_TRUE(mentions(faults[0], "has unknown type 7")) << faults[0];
    EXPECT_EQ(faults[1], "table \"Table1\": stores a row count of 7 but holds 2 rows");
}

// A usage map of the second kind (a list of map pages) reads like an inline one. No test file
// has one, so a copy gets its table's inline map rewritten as a reference to a new map page.
TEST(Corrupt, ReferenceUsageMapsReadLikeInlineOnes) {
    ScratchDir dir;
    for (const char* name : {"jackcess__testV1997.mdb", "jackcess__compIndexTestV2000.mdb"}) {
        Anatomy file(testFile(name));
        const std::uint32_t pointer = file.tableDef("Table1").ownedPagesMap;
        const auto map = detail::rowAtPointer(file.pages, file.format, pointer, "Table1");
        auto bytes = file.bytes;
        const std::uint32_t mapPage = file.pages.pageCount();
        bytes.resize(bytes.size() + file.format.pageSize, 0);
        bytes[file.at(mapPage, 0)] = static_cast<std::uint8_t>(detail::PageType::UsageMap);
        for (std::uint32_t page : detail::readUsageMap(file.pages, map, "Table1"))
            bytes[file.at(mapPage, 4 + page / 8)] |= static_cast<std::uint8_t>(1u << (page % 8));
        const std::size_t record = file.rowOffset(pointer);
        std::fill_n(bytes.begin() + static_cast<std::ptrdiff_t>(record), map.size(), 0);
        bytes[record] = detail::kReferenceUsageMap;
        putLe32(bytes, record + 1, mapPage);
        EXPECT_EQ(allRows(dir.write(name, bytes), "Table1"), allRows(testFile(name), "Table1"));

        bytes[file.at(mapPage, 0)] = static_cast<std::uint8_t>(detail::PageType::Data);
        expectCorrupt(dir, bytes, "page " + std::to_string(mapPage));
    }
}

} // namespace
} // namespace jet::test
