// Appending rows: what is appended reads back exactly after the rows a table held, compared with
// literals of every column type (never with another file of ours); the file keeps its invariants,
// password and page encoding, and nothing reaches it before a commit.
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "literal_rows.h"
#include "support.h"

#include <gtest/gtest.h>
#include <tuple>

namespace jet {
namespace {

// A table that already holds rows (as a template may) keeps them and takes the new ones after
// them, here in a page-encoded file with a password, also when the session is committed to
// another file. 9000 rows with their links take pages far past the 512 an inline usage map
// reaches.
TEST(WriteSession, AppendsAfterTheRowsATableHolds) {
    test::ScratchDir dir;
    const auto path = dir.write(
        "e.mdb", test::encodePages(buildDatabase(test::kDictionary, {"pw", 45000.0}), 0x1234abcd));
    auto appendKeys = [&](WriteSession& s, int from, int to) {
        for (int i = from; i < to; ++i)
            s.appendRow("data", {{"KEY", "k" + std::to_string(i)},
                                 {"link", std::string(i % 100 ? 300 : 9000, 'l')}});
    };
    WriteSession first = WriteSession::open(path, "pw");
    appendKeys(first, 0, 300);
    first.commit();
    WriteSession second = WriteSession::open(path, "pw");
    appendKeys(second, 300, 9000);
    // The session sees its own rows before the commit; the file does not.
    EXPECT_EQ(second.database().table("data").cursor().recordCount(), 9000u);
    EXPECT_EQ(test::allRows(path, "data", "pw").size(), 300u);
    second.commitAs(dir.path / "copy.mdb");

    EXPECT_EQ(test::allRows(path, "data", "pw").size(), 300u);
    const Database copy = Database::open(dir.path / "copy.mdb", "pw");
    EXPECT_TRUE(copy.pageEncrypted() && copy.hasPassword());
    EXPECT_EQ(copy.table("data").storedRowCount(), 9000u);
    const test::Rows rows = test::allRows(copy.table("data"));
    ASSERT_EQ(rows.size(), 9000u);
    for (std::size_t i = 0; i < rows.size(); ++i)
        ASSERT_EQ(rows[i], (std::vector<Value>{Value(), "k" + std::to_string(i),
                                               std::string(i % 100 ? 300 : 9000, 'l')}));
    test::errorOf(ErrorKind::BadPassword, [&] { (void)WriteSession::open(path, "wrong"); });
    EXPECT_EQ(checkDatabase(dir.path / "copy.mdb", "pw"), std::vector<std::string>{});
}

// Jet 3 text goes back in the bytes it was read from: the five bytes Windows-1252 leaves
// unassigned read as the control characters of the same value and must be written back so.
TEST(WriteSession, Jet3TextReadsBackAsWrittenInItsCodePage) {
    test::ScratchDir dir;
    const auto path = dir.write("b.mdb", test::readBytes(test::testFile("rizky__biblio.mdb")));
    const std::string text = "\u0081\u008d\u008f\u0090\u009d \u20ac\u0152 \u00ff";
    WriteSession s = WriteSession::open(path);
    s.appendRow("Authors", {{"Name_Code", std::string("new")}, {"Name_Description", text}});
    EXPECT_TRUE(test::mentions(
        test::errorOf(ErrorKind::Invalid,
                      [&] {
                          s.appendRow("Authors", {{"Name_Description", std::string("\u16a0")}});
                      }),
        "1252"));
    s.commit();
    const test::Rows rows = test::allRows(path, "Authors");
    EXPECT_EQ(rows.back().back(), Value(text));
}

TEST(WriteSession, CursorsOpenedBeforeAnAppendRefuseToGoOn) {
    test::ScratchDir dir;
    WriteSession s = WriteSession::open(dir.write("d.mdb", buildDatabase(test::kDictionary)));
    s.appendRow("data", {{"Key", std::string("first")}});
    Cursor before = s.database().table("data").cursor();
    ASSERT_EQ(before.text("Key"), "first");
    // Enough rows to add pages, which moves the pages in memory under the old cursor.
    for (int i = 0; i < 200; ++i)
        s.appendRow("data", {{"Link", std::string(3000, 'x')}});
    test::errorOf(ErrorKind::Invalid, [&] { (void)before.value(0); });
    test::errorOf(ErrorKind::Invalid, [&] { before.moveNext(); });
    EXPECT_EQ(s.database().table("data").cursor().recordCount(), 201u);
}

TEST(WriteSession, AutonumbersContinueFromTheDefinition) {
    test::ScratchDir dir;
    const auto path = dir.write(
        "auto.mdb",
        buildDatabase({{"t", {{"Id", ColumnType::Long, 255, true}, {"N", ColumnType::Text}}}}));
    for (const RowValues& row :
         {RowValues{}, RowValues{}, RowValues{{"Id", std::int64_t{10}}}, RowValues{}}) {
        WriteSession s = WriteSession::open(path);
        s.appendRow("t", row);
        s.commit();
    }
    std::string ids;
    for (const auto& row : test::allRows(path, "t"))
        ids += toText(row[0]) + " ";
    EXPECT_EQ(ids, "1 2 10 11 ");
}

TEST(WriteSession, RefusedRowsChangeNothing) {
    test::ScratchDir dir;
    const auto path = dir.write(
        "r.mdb",
        buildDatabase({{"t", {{"Name", ColumnType::Text, 5}, {"N", ColumnType::Integer}}}}));
    WriteSession s = WriteSession::open(path);
    for (const auto& [values, kind] : std::vector<std::pair<RowValues, ErrorKind>>{
             {{{"Nope", std::string("x")}}, ErrorKind::NotFound},
             {{{"Name", std::string("too long")}}, ErrorKind::Invalid},
             {{{"N", std::int64_t{40000}}}, ErrorKind::Invalid},
             {{{"N", std::string("1")}}, ErrorKind::Invalid},
             {{{"Name", std::string("a")}, {"name", std::string("b")}}, ErrorKind::Invalid},
             {{{"Name", std::string("\xff")}}, ErrorKind::Invalid}})
        test::errorOf(kind, [&] { s.appendRow("t", values); });
    test::errorOf(ErrorKind::NotFound, [&] { s.appendRow("other", {}); });
    EXPECT_EQ(s.appendedRows(), 0u);
    const auto before = test::readBytes(path);
    s.commit(); // nothing to write
    EXPECT_EQ(test::readBytes(path), before);
    s.appendRow("t", {{"Name", std::string("fine")}, {"N", std::int64_t{-3}}});
    s.commit();
    EXPECT_EQ(test::allRows(path, "t"), (test::Rows{{std::string("fine"), std::int64_t{-3}}}));

    // Tables of Access 2007 and later with complex or calculated columns, naming the column.
    for (const auto& [file, table, column] :
         {std::tuple("mdbreader__V2016_attachments.accdb", "Table1", "Attachments"),
          std::tuple("ucanaccess__calculatedField.accdb", "products", "%markup")}) {
        WriteSession ace = WriteSession::open(test::testFile(file));
        EXPECT_TRUE(test::mentions(
            test::errorOf(ErrorKind::NotSupported, [&] { ace.appendRow(table, {}); }), column));
    }
}

TEST(LiteralValues, ReadBackAsWrittenAfterTheRowsThereWere) {
    test::ScratchDir dir;
    for (const auto& literals : literal::literalTables()) {
        const bool appended = !literals.testFile.empty();
        const test::Rows before =
            appended ? test::allRows(test::testFile(literals.testFile), literals.table)
                     : test::Rows{};
        const auto path = literal::writeLiteralFile(literals, dir.path, AUGURLEX_TESTDATA);
        const Table table = Database::open(path).table(literals.table);
        const test::Rows after = test::allRows(table);
        ASSERT_EQ(after.size(), before.size() + literals.rows.size());
        EXPECT_EQ(table.storedRowCount(), after.size());
        EXPECT_TRUE(std::equal(before.begin(), before.end(), after.begin()));
        for (std::size_t r = 0; r < literals.rows.size(); ++r)
            EXPECT_EQ(after[before.size() + r], literal::expectedRow(literals, table.columns(), r))
                << literals.table << " row " << r;
        EXPECT_EQ(checkDatabase(path), std::vector<std::string>{});
    }
}

} // namespace
} // namespace jet
