// Pages are read from the file as they are asked for, not held: a file cut short or overwritten
// by another program while it is open gives an error, never a crash; an encoded file decoded page
// by page reads as the plain one; views of pages stay valid when resident memory is given back;
// a walk decodes only the columns it reads; and a walk cut into parts, walked on several threads,
// visits the rows of the whole walk.
#include "file/file_mapping.h"
#include "file/format.h"
#include "jet/write_session.h"
#include "read/state.h"
#include "support.h"

#include <fstream>
#include <gtest/gtest.h>
#include <thread>

namespace jet {
namespace {

// A dictionary of `rows` rows whose every tenth link is long enough for pages of its own.
std::filesystem::path dictionaryWithRows(test::ScratchDir& dir, int rows) {
    const auto path = dir.write("d.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
    WriteSession s = WriteSession::open(path);
    for (int i = 0; i < rows; ++i)
        s.appendRow("data", {{"Key", "key " + std::to_string(i)},
                             {"Link", std::string(i % 10 ? 60 : 5000, 'a' + i % 26)}});
    s.commit();
    return path;
}

void overwrite(const std::filesystem::path& path, std::size_t from, std::size_t length, char byte) {
    std::fstream out(path, std::ios::in | std::ios::out | std::ios::binary);
    out.seekp(static_cast<std::streamoff>(from)) << std::string(length, byte);
}

// Cut short (Io), or with every page but the header overwritten by zeros as a program writing
// over it would leave it part-way (Corrupt): a walk, a cursor opened before and every later read
// fail so.
TEST(PageReading, AFileCutShortOrOverwrittenWhileOpenIsAnErrorNotACrash) {
    for (const bool cut : {true, false}) {
        test::ScratchDir dir;
        const auto path = dictionaryWithRows(dir, 3000);
        const Database db = Database::open(path);
        const Table table = db.table("data");
        Cursor before = table.cursor();
        ASSERT_EQ(before.text("Key"), "key 0");
        if (cut)
            std::filesystem::resize_file(path, 8 * 4096);
        else
            overwrite(path, 4096, std::filesystem::file_size(path) - 4096, 0);
        const ErrorKind kind = cut ? ErrorKind::Io : ErrorKind::Corrupt;
        const std::string message = test::errorOf(kind, [&] { (void)test::allRows(table); });
        EXPECT_TRUE(!cut || test::mentions(message, path.string())) << message;
        test::errorOf(kind, [&] {
            while (before.moveNext())
                (void)before.value(2);
        });
        test::errorOf(kind, [&] { (void)db.table("data").cursor(); });
    }
}

// With a budget of one window, memory is given back at nearly every page; what was read before
// must still read the same.
TEST(PageReading, ViewsOfPagesOutliveTheMemoryGivenBack) {
    test::ScratchDir dir;
    const auto path = dictionaryWithRows(dir, 3000);
    const test::Rows expected = test::allRows(path, "data");
    detail::FileMapping::setResidentBudgetForTesting(64 << 10, 64 << 10);
    const Database db = Database::open(path);
    const detail::PageStore& pages = detail::DatabaseAccess::state(db)->pages;
    const detail::ByteSpan first = pages.page(1);
    const std::vector<std::uint8_t> copy(first.begin(), first.end());
    const test::Rows rows = test::allRows(db.table("data"));
    detail::FileMapping::setResidentBudgetForTesting(16 << 20);
    EXPECT_EQ(rows, expected);
    EXPECT_TRUE(std::equal(first.begin(), first.end(), copy.begin(), copy.end()));
}

// The long values of "Link" are damaged; a walk that reads only "Key" never meets them.
TEST(PageReading, AWalkDecodesOnlyTheColumnsItReads) {
    test::ScratchDir dir;
    const auto path = dictionaryWithRows(dir, 200);
    const test::Rows expected = test::allRows(path, "data");
    {
        test::Anatomy file(path);
        int damaged = 0;
        for (std::uint32_t page = 1; page < file.pages.pageCount(); ++page)
            if (detail::isLongValuePage(file.pages.page(page))) {
                overwrite(path, file.at(page, 4), 1, 0x77); // its owner: no longer long values
                ++damaged;
            }
        ASSERT_GT(damaged, 0);
    }
    const Database db = Database::open(path);
    Cursor c = db.table("data").cursor();
    std::string key;
    std::string text;
    std::size_t row = 0;
    for (bool more = c.moveFirst(); more; more = c.moveNext(), ++row) {
        c.readText(1, key);
        ASSERT_EQ(key, expected[row][1].as<std::string>());
        // Short links are inline and read through the same call as any other text.
        if (row % 10) {
            c.readText(2, text);
            ASSERT_EQ(text, expected[row][2].as<std::string>());
        }
    }
    EXPECT_EQ(row, 200u);
    c.moveFirst();
    test::errorOf(ErrorKind::Corrupt, [&] { c.readText(2, text); });
}

// The rows of every part, walked at the same time on threads of their own, in part order.
test::Rows rowsOfParts(std::vector<Cursor>& parts, std::size_t columns) {
    std::vector<test::Rows> each(parts.size());
    std::vector<std::thread> threads;
    for (std::size_t p = 0; p < parts.size(); ++p)
        threads.emplace_back([&, p] {
            for (bool more = !parts[p].eof(); more; more = parts[p].moveNext()) {
                each[p].emplace_back();
                for (std::size_t i = 0; i < columns; ++i)
                    each[p].back().push_back(parts[p].value(i));
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    test::Rows rows;
    for (const test::Rows& part : each)
        rows.insert(rows.end(), part.begin(), part.end());
    return rows;
}

TEST(PageReading, PartsWalkedOnThreadsAddUpToTheWholeWalk) {
    test::ScratchDir dir;
    const auto path = dictionaryWithRows(dir, 3000);
    // Plain and encoded, mapped and decoded page by page; moved rows in files Access made.
    const auto encoded = dir.write("e.mdb", test::encodePages(test::readBytes(path), 0x5a3c1e77));
    for (const auto& [file, table] : std::vector<std::pair<std::filesystem::path, std::string>>{
             {path, "data"},
             {encoded, "data"},
             {test::testFile("jackcess__overflowTestV2003.mdb"), "Table1"},
             {test::testFile("jackcess__overflowTestV1997.mdb"), "Table1"}}) {
        const Database db = Database::open(file);
        const Table t = db.table(table);
        const test::Rows whole = test::allRows(t);
        // Decoded as it is read, keeping few pages: memory stays bounded however large the file.
        if (file == encoded) {
            EXPECT_EQ(whole, test::allRows(path, "data"));
            const detail::PageStore& pages = detail::DatabaseAccess::state(db)->pages;
            EXPECT_LT(pages.decodedPagesHeld(), pages.pageCount() / 4);
        }
        for (std::size_t pagesPerPart : {1, 7, 100000}) {
            std::vector<Cursor> parts = t.partCursors(pagesPerPart);
            ASSERT_FALSE(parts.empty());
            EXPECT_EQ(rowsOfParts(parts, t.columns().size()), whole)
                << file << " in parts of " << pagesPerPart;
        }
    }
    // An empty table is one part with no rows.
    const auto empty = dir.write("empty.mdb", buildDatabase(test::kDictionary, {}));
    std::vector<Cursor> parts = Database::open(empty).table("data").partCursors(1);
    ASSERT_EQ(parts.size(), 1u);
    EXPECT_TRUE(parts[0].eof());
}

} // namespace
} // namespace jet
