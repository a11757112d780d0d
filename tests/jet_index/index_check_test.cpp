// The integrity check finds damage in index entries: a wrong key byte, an entry out of order,
// a missing entry, an entry naming a row that is not there.
#include "index_support.h"
#include "jet/check.h"
#include "read/state.h"

#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <unistd.h>

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

// A scratch copy of the test file with `change` applied to the root page of an index that is a
// single leaf; `change` gets the page's bytes and its first entry's offset and length.
class DamagedCopy : public ::testing::Test {
protected:
    void SetUp() override {
        std::filesystem::create_directories(dir_);
        copy_ = dir_ / kFile;
        std::filesystem::copy_file(testFile(kFile), copy_,
                                   std::filesystem::copy_options::overwrite_existing);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    void damage(const std::string& table, const std::string& index,
                const std::function<void(std::vector<std::uint8_t>& page,
                                         const detail::JetFormat& format)>& change) {
        const Database db = Database::open(copy_);
        const DatabaseState& state = *detail::DatabaseAccess::state(db);
        const Table t = db.table(table);
        std::uint32_t root = 0;
        for (const Index& i : t.indexes())
            if (i.name == index)
                root = i.firstPage;
        ASSERT_NE(root, 0u);
        const detail::ByteSpan bytes = state.pages.page(root);
        ASSERT_EQ(bytes[0], static_cast<std::uint8_t>(detail::PageType::IndexLeaf));
        std::vector<std::uint8_t> page(bytes.begin(), bytes.end());
        change(page, *state.format);
        std::fstream out(copy_, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(static_cast<std::streamoff>(root) * state.format->pageSize);
        out.write(reinterpret_cast<const char*>(page.data()),
                  static_cast<std::streamsize>(page.size()));
    }

    std::filesystem::path dir_ =
        std::filesystem::temp_directory_path() / ("jet_index_check_" + std::to_string(::getpid()));
    std::filesystem::path copy_;
};

TEST_F(DamagedCopy, AnAccessMadeFileHasNoIndexFaults) {
    for (const std::string& file : openTestFiles())
        for (const std::string& fault : checkDatabase(testFile(file)))
            EXPECT_EQ(fault.find("entr"), std::string::npos) << file << ": " << fault;
}

TEST_F(DamagedCopy, AChangedKeyByteIsFound) {
    damage("Table1", "PrimaryKey", [](std::vector<std::uint8_t>& page, const auto& format) {
        // The first entry is a long key: flag, four bytes, then the row pointer.
        page[format.indexFirstEntryOffset + 4] ^= 0x01;
    });
    const auto faults = indexFaults(copy_, "PrimaryKey");
    ASSERT_FALSE(faults.empty());
    EXPECT_NE(faults.front().find("is not the key of that row's values"), std::string::npos)
        << faults.front();
}

TEST_F(DamagedCopy, AnEntryNamingAMissingRowIsFound) {
    damage("Table1", "PrimaryKey", [](std::vector<std::uint8_t>& page, const auto& format) {
        page[format.indexFirstEntryOffset + 8] = 0xee; // row number of the first entry
    });
    const auto faults = indexFaults(copy_, "PrimaryKey");
    ASSERT_FALSE(faults.empty());
    EXPECT_NE(faults.front().find("names no live row"), std::string::npos) << faults.front();
}

TEST_F(DamagedCopy, ALostEntryIsCounted) {
    damage("Table1", "PrimaryKey", [](std::vector<std::uint8_t>& page, const auto& format) {
        // Clearing the highest mark of the mask merges the last two entries' bytes into one
        // entry: one entry fewer than rows, and a key no row has.
        for (std::size_t at = format.indexFirstEntryOffset - 1; at >= format.indexEntryMaskOffset;
             --at) {
            if (page[at] == 0)
                continue;
            for (int bit = 7; bit >= 0; --bit)
                if (page[at] & (1u << bit)) {
                    page[at] = static_cast<std::uint8_t>(page[at] & ~(1u << bit));
                    return;
                }
        }
    });
    bool counted = false;
    for (const std::string& fault : indexFaults(copy_, "PrimaryKey"))
        counted = counted || fault.find("entries for") != std::string::npos;
    EXPECT_TRUE(counted);
}

// The only index in the test files with a node page (page 29: one entry for page 32, then the
// tail page 33). A node entry that is not its child's last entry, and leaves whose links skip a
// page, are found.
TEST(IndexTreeShape, NodeEntriesAndLeafLinksAreChecked) {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("augurlex-index-tree-" + std::to_string(::getpid()));
    std::filesystem::create_directories(dir);
    const auto copy = dir / "tree.mdb";
    auto damaged = [&](std::size_t offset, std::uint8_t value) {
        std::filesystem::copy_file(testFile("jackcess__compIndexTestV2000.mdb"), copy,
                                   std::filesystem::copy_options::overwrite_existing);
        std::fstream out(copy, std::ios::in | std::ios::out | std::ios::binary);
        out.seekp(static_cast<std::streamoff>(offset));
        out.put(static_cast<char>(value));
        out.close();
        std::string all;
        for (const std::string& fault : checkDatabase(copy))
            all += fault + "\n";
        return all;
    };
    const auto& format = detail::JetFormat::jet4();
    EXPECT_EQ(damaged(0, 0), ""); // the header's first byte: the file as Access wrote it
    // The last byte of the node entry's row pointer: the child's last entry says otherwise.
    const std::size_t nodeEntryEnd = 29 * format.pageSize + format.indexFirstEntryOffset;
    std::size_t end = 0;
    {
        const Database db = Database::open(testFile("jackcess__compIndexTestV2000.mdb"));
        const auto& state = *detail::DatabaseAccess::state(db);
        end = detail::readIndexPage(format, state.pages.page(29), 29).entries.front().size();
    }
    EXPECT_NE(damaged(nodeEntryEnd + end - 5, 0xff).find("is not that page's last entry"),
              std::string::npos);
    // The second leaf's link back to the first.
    EXPECT_NE(damaged(33 * format.pageSize + 12, 0x1f).find("do not follow the tree's order"),
              std::string::npos);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace jet::test
