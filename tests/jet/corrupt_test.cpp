// Damaged copies of real files, built at test time: every fault must end in a Corrupt error
// that names the page, never a crash, a hang or a wrong row count.
#include "row.h"
#include "slot_table.h"
#include "support.h"
#include "table_scan.h"

#include <gtest/gtest.h>
#include <random>

namespace jet::test {
namespace {

// Opens the file and reads all of it, expecting a Corrupt error; returns its message.
std::string corruptMessage(const std::filesystem::path& path) {
    try {
        (void)readEverything(Database::open(path));
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Corrupt) << e.what();
        return e.what();
    }
    ADD_FAILURE() << "no error from " << path;
    return {};
}

bool mentions(const std::string& message, const std::string& part) {
    return message.find(part) != std::string::npos;
}

TEST(Corrupt, TruncatedFiles) {
    ScratchDir dir;
    const auto whole = readBytes(testFile("jackcess__testV2000.mdb"));
    auto cut = [&](std::size_t size) {
        return dir.write("cut" + std::to_string(size) + ".mdb",
                         std::vector<std::uint8_t>(whole.begin(), whole.begin() + size));
    };
    EXPECT_TRUE(mentions(corruptMessage(cut(100)), "shorter than its first page"));
    EXPECT_TRUE(mentions(corruptMessage(cut(4096 * 2 + 100)), "page 2"));
    // Cut anywhere, a file either reads in full or fails as Corrupt.
    for (std::size_t size = 4096 * 3; size < whole.size(); size += 4096 * 37 + 1000) {
        try {
            (void)readEverything(Database::open(cut(size)));
        } catch (const Error& e) {
            EXPECT_EQ(e.kind(), ErrorKind::Corrupt) << size << ": " << e.what();
        }
    }
}

TEST(Corrupt, PagePointerPastTheEnd) {
    Anatomy file("jackcess__testV2000.mdb");
    ScratchDir dir;
    auto catalogNext = file.bytes;
    putLe32(catalogNext, file.at(detail::kCatalogPage, 4), 0x00abcdef);
    EXPECT_TRUE(mentions(corruptMessage(dir.write("next.mdb", catalogNext)), "page 11259375"));

    const std::uint32_t tdef = file.tableDefPage("Table1");
    auto usageMap = file.bytes;
    putLe32(usageMap, file.at(tdef, file.format.tdefOwnedPages), 0x00fedc00);
    EXPECT_TRUE(mentions(corruptMessage(dir.write("map.mdb", usageMap)), "page 65244"));
}

TEST(Corrupt, LoopingTableDefinitionChain) {
    Anatomy file("jackcess__testV1997.mdb");
    ScratchDir dir;
    // Table2's 89 columns take several definition pages; send the last one back to the first.
    const std::uint32_t first = file.tableDefPage("Table2");
    std::uint32_t last = first;
    while (std::uint32_t next = detail::le32(file.pages.page(last).data() + 4))
        last = next;
    ASSERT_NE(last, first);
    auto looping = file.bytes;
    putLe32(looping, file.at(last, 4), first);
    const std::string message = corruptMessage(dir.write("loop.mdb", looping));
    EXPECT_TRUE(mentions(message, "loops")) << message;
    EXPECT_TRUE(mentions(message, "page " + std::to_string(first))) << message;
}

TEST(Corrupt, HugeCounts) {
    Anatomy file("jackcess__testV2000.mdb");
    ScratchDir dir;
    const detail::TableDef def = file.tableDef("Table1");
    const std::uint32_t dataPage = detail::tableDataPages(file.pages, file.format, def).at(0);

    auto rows = file.bytes;
    putLe16(rows, file.at(dataPage, file.format.dataRowCountOffset), 0xffff);
    EXPECT_TRUE(
        mentions(corruptMessage(dir.write("rows.mdb", rows)), "page " + std::to_string(dataPage)));

    auto columns = file.bytes;
    putLe16(columns, file.at(def.page, file.format.tdefColumnCount), 0xffff);
    EXPECT_TRUE(mentions(corruptMessage(dir.write("columns.mdb", columns)), "65535 columns"));

    auto indexes = file.bytes;
    putLe32(indexes, file.at(def.page, file.format.tdefRealIndexCount), 0x7fffffff);
    EXPECT_TRUE(mentions(corruptMessage(dir.write("indexes.mdb", indexes)), "indexes"));

    // A row offset pointing outside its page.
    auto offset = file.bytes;
    putLe16(offset, file.at(dataPage, file.format.dataFirstSlotOffset()), 0x1ff0);
    EXPECT_TRUE(mentions(corruptMessage(dir.write("offset.mdb", offset)), "bad bounds"));
}

TEST(Corrupt, LongValueChainThatLoops) {
    Anatomy file("jackcess__test2V2003.mdb");
    const detail::TableDef def = file.tableDef("MSP_PROJECTS");
    std::size_t column = 0;
    while (def.columns.at(column).name != "RESERVED_BINARY_DATA")
        ++column;
    detail::TableScan scan(file.pages, file.format, def);
    ASSERT_TRUE(scan.next());
    detail::RowScratch scratch;
    std::vector<detail::FieldRef> fields;
    detail::crackRow(file.format, def, scan.row(), scan.rowPage(), scratch, fields);
    const std::uint32_t pointer = detail::le32(fields[column].bytes.data() + 4);
    const std::uint32_t lvalPage = detail::rowPointerPage(pointer);
    const auto slot = static_cast<std::uint16_t>(detail::rowPointerRow(pointer));
    const auto row = detail::rowSlot(file.format, file.pages.page(lvalPage), lvalPage, slot);
    const std::size_t rowOffset =
        static_cast<std::size_t>(row.bytes.data() - file.pages.page(lvalPage).data());

    ScratchDir dir;
    auto looping = file.bytes;
    putLe32(looping, file.at(lvalPage, rowOffset), pointer); // the first piece names itself
    const std::string message = corruptMessage(dir.write("lval.mdb", looping));
    EXPECT_TRUE(mentions(message, "loops")) << message;
    EXPECT_TRUE(mentions(message, "RESERVED_BINARY_DATA")) << message;
}

// Random damage to real files: only Corrupt errors, and announced counts always hold.
TEST(Corrupt, RandomDamageNeverMisbehaves) {
    ScratchDir dir;
    std::mt19937 random(20240601);
    for (const char* name : {"jackcess__testV1997.mdb", "jackcess__overflowTestV2000.mdb",
                             "jackcess__test2V1997.mdb", "jackcess__testUnicodeCompV2003.mdb"}) {
        const auto original = readBytes(testFile(name));
        const std::size_t pageSize = original[0x14] == 0 ? 2048 : 4096;
        for (int round = 0; round < 40; ++round) {
            auto bytes = original;
            for (int hits = 1 + static_cast<int>(random() % 6); hits > 0; --hits) {
                // Aim at page headers, where counts and pointers live, as often as elsewhere.
                const std::size_t page = random() % (bytes.size() / pageSize);
                const std::size_t offset = random() % 2 ? random() % 80 : random() % pageSize;
                bytes[page * pageSize + offset] = static_cast<std::uint8_t>(random());
            }
            const auto path = dir.write("damaged.mdb", bytes);
            try {
                const Database db = Database::open(path);
                for (const auto& table : db.tableNames()) {
                    const Table t = db.table(table);
                    Cursor cursor = t.cursor();
                    std::uint64_t visited = 0;
                    for (bool more = cursor.moveFirst(); more; more = cursor.moveNext()) {
                        for (std::size_t i = 0; i < t.columns().size(); ++i)
                            (void)toText(cursor.value(i));
                        ++visited;
                    }
                    EXPECT_EQ(visited, cursor.recordCount());
                }
            } catch (const Error& e) {
                EXPECT_TRUE(e.kind() == ErrorKind::Corrupt || e.kind() == ErrorKind::NotSupported ||
                            e.kind() == ErrorKind::BadPassword)
                    << name << " round " << round << ": " << e.what();
            }
        }
    }
}

} // namespace
} // namespace jet::test
