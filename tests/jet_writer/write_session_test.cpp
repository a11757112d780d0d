// Appending rows: what is appended reads back exactly, old rows stay, the file's invariants
// hold, and nothing reaches the file before a commit that succeeds.
#include "jet/atomic_file.h"
#include "header.h"
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "page_source.h"
#include "rc4.h"
#include "support.h"

#include <gtest/gtest.h>
#include <random>

namespace jet {
namespace {

const std::vector<TableSpec> kDictionary{
    {"data", {{"names", ColumnType::Text}, {"Key", ColumnType::Text}, {"Link", ColumnType::Memo}}}};

std::vector<std::vector<Value>> allRows(const Database& db, const std::string& table) {
    std::vector<std::vector<Value>> rows;
    Table t = db.table(table);
    Cursor c = t.cursor();
    for (bool ok = c.moveFirst(); ok; ok = c.moveNext()) {
        std::vector<Value> row;
        for (std::size_t i = 0; i < t.columns().size(); ++i)
            row.push_back(c.value(i));
        rows.push_back(std::move(row));
    }
    EXPECT_EQ(rows.size(), t.cursor().recordCount());
    return rows;
}

void expectSound(const std::filesystem::path& path, const std::string& password = {}) {
    std::vector<std::string> faults = checkDatabase(path, password);
    EXPECT_TRUE(faults.empty()) << path << ": " << (faults.empty() ? "" : faults.front());
}

std::size_t utf16Length(const std::string& utf8) {
    std::size_t n = 0;
    for (unsigned char c : utf8)
        n += (c & 0xc0) != 0x80 ? (c >= 0xf0 ? 2 : 1) : 0;
    return n;
}

// Turns a plain Jet 4 file into a page-encoded one, as "Encrypt database" leaves it.
std::vector<std::uint8_t> encodePages(std::vector<std::uint8_t> file, std::uint32_t key) {
    std::span<std::uint8_t> masked(file.data() + detail::kHeaderMaskStart, 128);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    for (int i = 0; i < 4; ++i)
        file[0x3e + i] = static_cast<std::uint8_t>(key >> (8 * i));
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    for (std::uint32_t n = 1; n < file.size() / 4096; ++n)
        detail::applyPageEncoding(std::span(file.data() + n * 4096, 4096), n, key);
    return file;
}

// Text of every kind a dictionary meets: empty, accented, other scripts, astral characters,
// and lengths around the inline, one-page and chained limits of long values.
std::string randomText(std::mt19937& rng, std::size_t maxLength) {
    static const std::vector<std::string> pieces{"a", "Z",  " ",  "é", "ß",        "Ω", "Ж", "中",
                                                 "𝄞", "\t", "\"", ",", "https://", "/", "0"};
    std::uniform_int_distribution<std::size_t> len(0, maxLength);
    std::uniform_int_distribution<std::size_t> pick(0, pieces.size() - 1);
    std::string s;
    for (std::size_t n = len(rng); n > 0; --n)
        s += pieces[pick(rng)];
    return s;
}

TEST(WriteSession, RandomRowsReadBackExactly) {
    test::ScratchDir dir;
    auto path = dir.write("d.mdb", {});
    createDatabase(path, kDictionary, {"pw", 45000.0});

    std::mt19937 rng(20261206);
    std::vector<std::vector<Value>> expected;
    WriteSession s = WriteSession::open(path, "pw");
    for (int i = 0; i < 3000; ++i) {
        std::vector<Value> row(3);
        for (int c = 0; c < 3; ++c) {
            int kind = static_cast<int>(rng() % 10);
            if (kind == 0)
                continue; // null
            std::size_t max = c == 2 ? (kind == 9 ? 12000 : (kind == 8 ? 1500 : 60)) : 120;
            std::string text = randomText(rng, max);
            if (c < 2 && utf16Length(text) > 255)
                text = "clipped";
            row[c] = text;
        }
        s.appendRow("data", {{"names", row[0]}, {"KEY", row[1]}, {"link", row[2]}});
        expected.push_back(row);
    }
    // The session sees its own rows before the commit; the file does not.
    EXPECT_EQ(allRows(s.database(), "data"), expected);
    EXPECT_EQ(Database::open(path, "pw").table("data").cursor().recordCount(), 0u);
    s.commit();

    Database db = Database::open(path, "pw");
    EXPECT_EQ(allRows(db, "data"), expected);
    EXPECT_EQ(db.table("data").storedRowCount(), expected.size());
    expectSound(path, "pw");
}

TEST(WriteSession, CursorsOpenedBeforeAnAppendRefuseToGoOn) {
    test::ScratchDir dir;
    auto path = dir.write("stale.mdb", {});
    createDatabase(path, kDictionary, {});
    WriteSession s = WriteSession::open(path);
    s.appendRow("data", {{"Key", std::string("first")}});
    Cursor before = s.database().table("data").cursor();
    ASSERT_EQ(before.text("Key"), "first");
    // Enough rows to add pages, which moves the pages in memory under the old cursor.
    for (int i = 0; i < 200; ++i)
        s.appendRow("data", {{"Key", std::string("more")}, {"Link", std::string(3000, 'x')}});
    try {
        (void)before.value(0);
        FAIL() << "a stale cursor went on reading";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Invalid);
    }
    EXPECT_THROW(before.moveNext(), Error);
    EXPECT_EQ(s.database().table("data").cursor().recordCount(), 201u);
}

TEST(WriteSession, ManyRowsOutgrowInlineUsageMaps) {
    test::ScratchDir dir;
    auto path = dir.write("big.mdb", {});
    createDatabase(path, kDictionary, {});
    WriteSession s = WriteSession::open(path);
    const std::string link(300, 'l'); // about 13 rows a page: far past 512 pages
    for (int i = 0; i < 9000; ++i)
        s.appendRow("data", {{"Key", "k" + std::to_string(i)}, {"Link", link}});
    s.commit();
    Database db = Database::open(path);
    EXPECT_GT(db.pageCount(), 600u);
    Cursor c = db.table("data").cursor();
    EXPECT_EQ(c.recordCount(), 9000u);
    int i = 0;
    for (bool ok = c.moveFirst(); ok; ok = c.moveNext(), ++i)
        ASSERT_EQ(c.text("Key"), "k" + std::to_string(i));
    expectSound(path);
}

TEST(WriteSession, AutonumbersContinueFromTheDefinition) {
    test::ScratchDir dir;
    auto path = dir.write("auto.mdb", {});
    createDatabase(path, {{"t", {{"Id", ColumnType::Long, 255, true}, {"Name", ColumnType::Text}}}},
                   {});
    {
        WriteSession s = WriteSession::open(path);
        s.appendRow("t", {{"Name", std::string("one")}});
        s.appendRow("t", {{"Name", std::string("two")}});
        s.appendRow("t", {{"Id", std::int64_t{10}}, {"Name", std::string("ten")}});
        s.commit();
    }
    WriteSession s = WriteSession::open(path);
    s.appendRow("t", {{"Name", std::string("eleven")}});
    s.commit();
    std::vector<std::int64_t> ids;
    for (const auto& row : allRows(Database::open(path), "t"))
        ids.push_back(row[0].as<std::int64_t>());
    EXPECT_EQ(ids, (std::vector<std::int64_t>{1, 2, 10, 11}));
}

TEST(WriteSession, RefusedRowsChangeNothing) {
    test::ScratchDir dir;
    auto path = dir.write("r.mdb", {});
    createDatabase(path, {{"t", {{"Name", ColumnType::Text, 5}, {"N", ColumnType::Integer}}}}, {});
    WriteSession s = WriteSession::open(path);
    auto refused = [&](const RowValues& values, ErrorKind kind) {
        try {
            s.appendRow("t", values);
        } catch (const Error& e) {
            return e.kind() == kind;
        }
        return false;
    };
    EXPECT_TRUE(refused({{"Nope", std::string("x")}}, ErrorKind::NotFound));
    EXPECT_TRUE(refused({{"Name", std::string("too long")}}, ErrorKind::Invalid));
    EXPECT_TRUE(refused({{"N", std::int64_t{40000}}}, ErrorKind::Invalid));
    EXPECT_TRUE(refused({{"N", std::string("1")}}, ErrorKind::Invalid));
    EXPECT_TRUE(
        refused({{"Name", std::string("a")}, {"name", std::string("b")}}, ErrorKind::Invalid));
    EXPECT_TRUE(refused({{"Name", std::string("\xff")}}, ErrorKind::Invalid));
    try {
        s.appendRow("other", {});
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::NotFound);
    }
    EXPECT_EQ(s.appendedRows(), 0u);
    auto before = test::readBytes(path);
    s.commit(); // nothing to write
    EXPECT_EQ(test::readBytes(path), before);
    s.appendRow("t", {{"Name", std::string("fine")}, {"N", std::int64_t{-3}}});
    s.commit();
    EXPECT_EQ(Database::open(path).table("t").cursor().text("Name"), "fine");
}

TEST(WriteSession, IndexedTablesAreRefusedBeforeAnyChange) {
    test::ScratchDir dir;
    auto path = dir.write("i.mdb", test::readBytes(test::testFile("jackcess__testV2003.mdb")));
    WriteSession s = WriteSession::open(path);
    try {
        s.appendRow("Table1", {});
        FAIL() << "an indexed table took a row";
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Invalid);
        EXPECT_NE(std::string(e.what()).find("indexes"), std::string::npos);
    }
    s.commit();
    EXPECT_EQ(test::readBytes(path), test::readBytes(test::testFile("jackcess__testV2003.mdb")));
}

TEST(WriteSession, FailedCommitLeavesTheOldFile) {
    struct HookReset {
        ~HookReset() { setCommitHookForTesting(nullptr); }
    } reset;
    test::ScratchDir dir;
    auto path = dir.write("c.mdb", {});
    createDatabase(path, kDictionary, {});
    const auto original = test::readBytes(path);
    for (auto failing : {CommitStep::CreateTemp, detail::CommitStep::WriteTemp,
                         CommitStep::SyncTemp, detail::CommitStep::CloseTemp,
                         CommitStep::Rename}) {
        WriteSession s = WriteSession::open(path);
        s.appendRow("data", {{"Key", std::string("k")}, {"Link", std::string(5000, 'x')}});
        setCommitHookForTesting([&](CommitStep step) {
            if (step == failing)
                throw Error(ErrorKind::Io, "injected failure");
        });
        EXPECT_THROW(s.commit(), Error);
        setCommitHookForTesting(nullptr);
        EXPECT_EQ(test::readBytes(path), original);
    }
}

// Access-made files with tables that carry no index: old rows stay as they were, new ones follow
// them, and the file keeps its password or page encoding.
struct AccessFile {
    const char* file;
    const char* table;
    RowValues row;
};

TEST(WriteSession, AppendsToAccessMadeFiles) {
    const std::vector<AccessFile> files{
        {"jackcess__delTestV1997.mdb",
         "Table",
         {{"a", std::string("Jet 3 ü")}, {"b", std::string("x")}}},
        {"jackcess__delTestV2000.mdb", "Table", {{"a", std::string("Jet 4 Ω")}, {"b", Value{}}}},
        {"jackcess__overflowTestV1997.mdb",
         "Table1",
         {{"data1", std::string(50, 'j')}, {"data10", std::string("end")}}},
        {"jackcess__overflowTestV2003.mdb",
         "Table1",
         {{"data1", std::string("moved rows before")}}},
        {"jackcess__queryTestV2003.mdb", "Table2", {{"col1", std::string("first row")}}},
        {"rizky__biblio.mdb",
         "Authors",
         {{"Name_Code", std::string("Z9")}, {"Name_Description", std::string("Zeta")}}},
    };
    for (const auto& f : files) {
        SCOPED_TRACE(f.file);
        test::ScratchDir dir;
        auto path = dir.write("copy.mdb", test::readBytes(test::testFile(f.file)));
        auto before = allRows(Database::open(path), f.table);
        WriteSession s = WriteSession::open(path);
        for (int i = 0; i < 300; ++i)
            s.appendRow(f.table, f.row);
        s.commit();
        auto after = allRows(Database::open(path), f.table);
        ASSERT_EQ(after.size(), before.size() + 300);
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
        Table t = Database::open(path).table(f.table);
        for (const auto& [name, value] : f.row)
            EXPECT_EQ(after.back()[static_cast<std::size_t>(t.columnIndex(name))], value) << name;
        expectSound(path);
    }
}

TEST(WriteSession, KeepsPasswordAndPageEncoding) {
    test::ScratchDir dir;
    auto locked = dir.write(
        "p.mdb", test::readBytes(test::testFile("mdbreader__password_V2003_with-password.mdb")));
    {
        WriteSession s = WriteSession::open(locked, "password");
        EXPECT_THROW(s.appendRow("Table1", {}), Error); // it carries a primary key
    }
    EXPECT_THROW(WriteSession::open(locked, "wrong"), Error);

    auto encoded =
        dir.write("e.mdb", encodePages(buildDatabase(kDictionary, {"pw", 45000.0}), 0x1234abcd));
    ASSERT_TRUE(Database::open(encoded, "pw").pageEncrypted());
    WriteSession s = WriteSession::open(encoded, "pw");
    for (int i = 0; i < 200; ++i)
        s.appendRow("data", {{"Key", std::string("k")}, {"Link", std::string(3000, 'v')}});
    s.commit();
    Database db = Database::open(encoded, "pw");
    EXPECT_TRUE(db.pageEncrypted());
    EXPECT_TRUE(db.hasPassword());
    EXPECT_EQ(db.table("data").cursor().recordCount(), 200u);
    EXPECT_EQ(db.table("data").cursor().text("Link"), std::string(3000, 'v'));
    expectSound(encoded, "pw");
}

} // namespace
} // namespace jet
