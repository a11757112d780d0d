// The integrity check finds damage in index entries: a wrong key byte, an entry out of order,
// a missing entry, an entry naming a row that is not there; and tells a text key weighed
// otherwise from damage.
#include "index_support.h"
#include "jet/check.h"
#include "jet/write_session.h"
#include "read/state.h"
#include "write/index_page_writer.h"

#include <bit>
#include <functional>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

constexpr const char* kFile = "jackcess__indexTestV2000.mdb";

// Faults the check reports about one index (other faults are no concern of these tests).
std::vector<std::string> indexFaults(const std::filesystem::path& path, const std::string& index) {
    std::vector<std::string> out;
    for (const std::string& fault : checkDatabase(path))
        if (fault.find("index \"" + index + "\"") != std::string::npos &&
            fault.find("past the end of the file") == std::string::npos)
            out.push_back(fault);
    return out;
}

using PageChange =
    std::function<void(std::vector<std::uint8_t>& page, const detail::JetFormat& format)>;

// The faults the check reports about the primary key of Table1 in a fresh copy of the test file
// whose key's root page, a single leaf, `change` has been applied to.
std::vector<std::string> primaryKeyFaultsAfter(const PageChange& change) {
    ScratchDir dir;
    const Anatomy file(testFile(kFile));
    std::uint32_t root = 0;
    for (const Index& i : file.db.table("Table1").indexes())
        if (i.name == "PrimaryKey")
            root = i.firstPage;
    auto bytes = file.bytes;
    const auto start = bytes.begin() + static_cast<std::ptrdiff_t>(file.at(root, 0));
    std::vector<std::uint8_t> page(start, start + file.format.pageSize);
    EXPECT_EQ(page[0], static_cast<std::uint8_t>(detail::PageType::IndexLeaf));
    change(page, file.format);
    std::copy(page.begin(), page.end(), start);
    return indexFaults(dir.write(kFile, bytes), "PrimaryKey");
}

TEST(IndexCheck, DamagedEntriesAreFound) {
    const std::vector<std::pair<PageChange, std::string>> cases{
        // The first entry is a long key: flag, four bytes, then the row pointer.
        {[](auto& page, const auto& format) { page[format.indexFirstEntryOffset + 4] ^= 0x01; },
         "is not the key of that row's values"},
        {[](auto& page, const auto& format) { page[format.indexFirstEntryOffset + 8] = 0xee; },
         "names no live row"}, // the row number of the first entry
        // Clearing the highest mark of the mask merges the last two entries' bytes into one
        // entry: one entry fewer than rows, and a key no row has.
        {[](auto& page, const auto& format) {
             std::size_t at = format.indexFirstEntryOffset - 1;
             while (page[at] == 0)
                 --at;
             page[at] =
                 static_cast<std::uint8_t>(page[at] & ~(0x80u >> std::countl_zero(page[at])));
         },
         "entries for"}};
    for (const auto& [change, expected] : cases) {
        std::string all;
        for (const std::string& fault : primaryKeyFaultsAfter(change))
            all += fault + "\n";
        EXPECT_NE(all.find(expected), std::string::npos) << expected << " in:\n" << all;
    }
}

// The only index in the test files with a node page (page 29: one entry for page 32, then the
// tail page 33). A node entry that is not its child's last entry, and leaves whose links skip a
// page, are found.
TEST(IndexTreeShape, NodeEntriesAndLeafLinksAreChecked) {
    ScratchDir dir;
    const Anatomy file(testFile("jackcess__compIndexTestV2000.mdb"));
    auto damaged = [&](std::size_t offset, std::uint8_t value) {
        auto bytes = file.bytes;
        bytes[offset] = value;
        std::string all;
        for (const std::string& fault : checkDatabase(dir.write("damaged.mdb", bytes)))
            all += fault + "\n";
        return all;
    };
    EXPECT_EQ(damaged(0, 0), ""); // the header's first byte: the file as Access wrote it
    // The last byte of the node entry's row pointer: the child's last entry says otherwise.
    const std::size_t end =
        detail::readIndexPage(file.format, file.pages.page(29), 29).entries.front().size();
    EXPECT_NE(damaged(file.at(29, file.format.indexFirstEntryOffset + end - 5), 0xff)
                  .find("is not that page's last entry"),
              std::string::npos);
    // The second leaf's link back to the first.
    EXPECT_NE(damaged(file.at(33, 12), 0x1f).find("do not follow the tree's order"),
              std::string::npos);
}

// A text key Access weighed otherwise (an extra code more at the end of the last entry, which
// keeps the order) is no damage: the check names the entry and its text, and the writer refuses
// rows for that index in the same words, changing nothing.
TEST(IndexCheck, ATextKeyComputedOtherwiseIsSaidAndRefusedNotCalledDamage) {
    ScratchDir dir;
    const Anatomy file(testFile("jackcess__testIndexPropertiesV2003.mdb"));
    const Table table = file.db.table("TableUnique1_temp");
    std::uint32_t root = 0;
    for (const Index& i : table.indexes())
        if (i.name == "DataIndex")
            root = i.firstPage;
    detail::IndexPage read = detail::readIndexPage(file.format, file.pages.page(root), root);
    ASSERT_TRUE(read.leaf);
    auto& last = read.entries.back();
    last.insert(last.end() - 5, 0x13); // before the key's closing byte and the row pointer
    auto bytes = file.bytes;
    detail::writeIndexPage(
        file.format, std::span(bytes).subspan(file.at(root, 0), file.format.pageSize),
        {true, read.previous, read.next, read.entries}, file.tableDef("TableUnique1_temp").page);
    const auto copy = dir.write("computed-otherwise.mdb", bytes);
    const CheckFindings findings = checkDatabaseFindings(copy);
    EXPECT_EQ(findings.faults, std::vector<std::string>{});
    ASSERT_EQ(findings.keyDifferences.size(), 1u);
    const std::string& said = findings.keyDifferences.front();
    EXPECT_TRUE(mentions(said, "index \"DataIndex\"") && mentions(said, "(\"") &&
                mentions(said, "differs from the key this program computes"))
        << said;
    WriteSession session = WriteSession::open(copy);
    EXPECT_EQ(errorOf(ErrorKind::Invalid,
                      [&] {
                          session.appendRow("TableUnique1_temp", {{"row", std::string("new")},
                                                                  {"data", std::string("x")}});
                      }),
              said);
    session.commit();
    EXPECT_EQ(readBytes(copy), bytes);
}

} // namespace
} // namespace jet::test
