// Usage maps of the second kind (a list of map pages) read like inline ones. No test file has
// one, so a copy of a real file gets its table's inline map rewritten as a reference map.
#include "support.h"
#include "table_scan.h"
#include "usage_map.h"

#include <gtest/gtest.h>

namespace jet::test {
namespace {

struct ReferenceMapCopy {
    std::vector<std::uint8_t> bytes;
    std::uint32_t mapPage = 0;
};

// Moves Table1's owned-pages map onto a new map page appended to the file.
ReferenceMapCopy withReferenceMap(const std::string& file) {
    Anatomy anatomy(file);
    const detail::TableDef def = anatomy.tableDef("Table1");
    const detail::ByteSpan record =
        detail::rowAtPointer(anatomy.pages, anatomy.format, def.ownedPagesMap, "the test table");
    const std::vector<std::uint32_t> owned =
        detail::readUsageMap(anatomy.pages, record, "the test table");

    ReferenceMapCopy copy{anatomy.bytes, anatomy.pages.pageCount()};
    const std::size_t pageSize = anatomy.format.pageSize;
    copy.bytes.resize(copy.bytes.size() + pageSize, 0);
    const std::size_t mapStart = std::size_t{copy.mapPage} * pageSize;
    copy.bytes[mapStart] = 0x05;
    copy.bytes[mapStart + 1] = 0x01;
    for (std::uint32_t page : owned)
        copy.bytes[mapStart + 4 + page / 8] |= static_cast<std::uint8_t>(1u << (page % 8));

    const std::size_t recordStart =
        static_cast<std::size_t>(record.data() - anatomy.pages.page(0).data());
    std::fill_n(copy.bytes.begin() + static_cast<std::ptrdiff_t>(recordStart), record.size(), 0);
    copy.bytes[recordStart] = detail::kReferenceUsageMap;
    putLe32(copy.bytes, recordStart + 1, copy.mapPage);
    return copy;
}

TEST(UsageMap, ReferenceMapListsTheSamePages) {
    for (const char* file : {"jackcess__testV1997.mdb", "jackcess__compIndexTestV2000.mdb"}) {
        SCOPED_TRACE(file);
        ScratchDir dir;
        const auto path = dir.write("reference.mdb", withReferenceMap(file).bytes);
        const Database original = Database::open(testFile(file));
        const Database rewritten = Database::open(path);
        const Table before = original.table("Table1");
        const Table after = rewritten.table("Table1");
        Cursor a = before.cursor();
        Cursor b = after.cursor();
        EXPECT_EQ(a.recordCount(), b.recordCount());
        for (; !a.eof(); a.moveNext(), b.moveNext()) {
            ASSERT_FALSE(b.eof());
            for (std::size_t i = 0; i < before.columns().size(); ++i)
                EXPECT_EQ(a.value(i), b.value(i));
        }
        EXPECT_TRUE(b.eof());
    }
}

TEST(UsageMap, ReferenceToAPageThatIsNoMap) {
    auto copy = withReferenceMap("jackcess__testV1997.mdb");
    copy.bytes[std::size_t{copy.mapPage} * 2048] = 0x01; // no longer a map page
    ScratchDir dir;
    const auto path = dir.write("not-a-map.mdb", copy.bytes);
    try {
        (void)Database::open(path).table("Table1").cursor();
        FAIL() << "no error";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Corrupt);
        EXPECT_NE(std::string(e.what()).find("page " + std::to_string(copy.mapPage)),
                  std::string::npos)
            << e.what();
    }
}

} // namespace
} // namespace jet::test
