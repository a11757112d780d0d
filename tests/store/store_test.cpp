// The program's database routines over real files.
#include "store/modDB.h"

#include <filesystem>
#include <gtest/gtest.h>

namespace {

std::string testFile(const std::string& name) {
    return std::string(AUGURLEX_TESTDATA) + "/" + name;
}

#define REQUIRE_TESTDATA()                                                                         \
    if (!std::filesystem::is_directory(AUGURLEX_TESTDATA))                                         \
    GTEST_SKIP() << "no test data at " << AUGURLEX_TESTDATA

template <class F> jet::Error errorOf(F f) {
    try {
        f();
    } catch (const jet::Error& error) {
        return error;
    }
    ADD_FAILURE() << "no jet::Error";
    return jet::Error(jet::ErrorKind::Invalid, "none");
}

TEST(ConnectionString, HasTheProgramsPiecesInOrder) {
    EXPECT_EQ(modDB::BuildConnectionString("/opt/app/clone.dll"),
              "DRIVER=Microsoft Access Driver (*.mdb);UID=;PWD=K8Wum2qTx7vRb4Lpe9;"
              "DBQ=/opt/app/clone.dll");
}

TEST(ConnectionString, PiecesReadBackEvenWhenThePathHoldsSeparators) {
    std::string s = modDB::BuildConnectionString("/a;PWD=x/b=c.dll");
    EXPECT_EQ(modDB::ConnectionStringPart(s, "PWD"), modDB::kDatabasePassword);
    EXPECT_EQ(modDB::ConnectionStringPart(s, "DBQ"), "/a;PWD=x/b=c.dll");
    EXPECT_EQ(modDB::ConnectionStringPart(s, "UID"), "");
    EXPECT_EQ(modDB::ConnectionStringPart(s, "DRIVER"), "Microsoft Access Driver (*.mdb)");
}

TEST(Paths, AreFolderSlashNameDotDll) {
    EXPECT_EQ(modDB::CataloguePath("/opt/app"), "/opt/app/divination.dll");
    EXPECT_EQ(modDB::TemplatePath("/opt/app"), "/opt/app/clone.dll");
    EXPECT_EQ(modDB::DictionaryPath("/opt/app", "Runes"), "/opt/app/runes.dll");
    // The folder keeps its case; only the name is lowered.
    EXPECT_EQ(modDB::DictionaryPath("/Opt/App", "I CHING"), "/Opt/App/i ching.dll");
}

TEST(Paths, DictionaryNamesAreLoweredAcrossUnicode) {
    EXPECT_EQ(modDB::LowerUtf8("ÄGYPTISCHE ZEICHEN"), "ägyptische zeichen");
    EXPECT_EQ(modDB::LowerUtf8("ΟΙΩΝΟΣΚΟΠΊΑ"), "οιωνοσκοπία");
    EXPECT_EQ(modDB::LowerUtf8("ТАРО"), "таро");
    EXPECT_EQ(modDB::LowerUtf8("ŁÓDŹ Ǆ"), "łódź ǆ");
    EXPECT_EQ(modDB::LowerUtf8("易经 Ⅻ"), "易经 ⅻ");
    // Bytes that are not UTF-8 are kept as they are.
    EXPECT_EQ(modDB::LowerUtf8("A\xFF"
                               "B\xC3"),
              "a\xFF"
              "b\xC3");
}

TEST(OpenConnection, KeepsTheConnectionStringAndOpensTheFile) {
    REQUIRE_TESTDATA();
    Connection db;
    std::string path = testFile("jackcess__testV1997.mdb");
    modDB::OpenConnection(db, path);
    EXPECT_TRUE(db.IsOpen());
    EXPECT_EQ(db.ConnectionString(), modDB::BuildConnectionString(path));
    EXPECT_EQ(db.Database().tableNames().size(), 4u);

    // A second open replaces the first.
    modDB::OpenConnection(db, testFile("jackcess__delTestV2000.mdb"));
    EXPECT_EQ(db.Database().tableNames(), std::vector<std::string>{"Table"});
}

TEST(OpenConnection, ErrorsReachTheCallerUnchangedAndLeaveTheHandleClosed) {
    REQUIRE_TESTDATA();
    Connection db;
    modDB::OpenConnection(db, testFile("jackcess__testV1997.mdb"));
    jet::Error wrongPassword = errorOf([&] {
        modDB::OpenConnection(db, testFile("mdbreader__password_V2003_with-password.mdb"));
    });
    EXPECT_EQ(wrongPassword.kind(), jet::ErrorKind::BadPassword);
    EXPECT_STREQ(wrongPassword.what(), jet::kBadPasswordMessage);
    EXPECT_FALSE(db.IsOpen());
    EXPECT_THROW(db.Database(), jet::Error);

    jet::Error missing =
        errorOf([&] { modDB::OpenConnection(db, testFile("no such dictionary.dll")); });
    EXPECT_NE(missing.kind(), jet::ErrorKind::BadPassword);
}

TEST(OpenRecordset, AcceptsOnlyTheProgramsQuery) {
    REQUIRE_TESTDATA();
    Connection db;
    modDB::OpenConnection(db, testFile("jackcess__testV1997.mdb"));
    Recordset rs;
    rs.OpenTable(db.Database(), "Table1");
    for (const char* query : {"select * from Table1", "SELECT * FROM data", ""}) {
        jet::Error error = errorOf([&] { modDB::OpenRecordset(rs, db, query); });
        EXPECT_EQ(error.kind(), jet::ErrorKind::Invalid);
        EXPECT_STREQ(error.what(), "unsupported query");
        EXPECT_FALSE(rs.IsOpen()); // the old rows are gone
    }
    // The right query on a file without a "data" table: the engine's error, unchanged.
    jet::Error noTable = errorOf([&] { modDB::OpenRecordset(rs, db, modDB::kQuery); });
    EXPECT_EQ(noTable.kind(), jet::ErrorKind::NotFound);
}

TEST(OpenRecordset, NeedsAnOpenConnection) {
    Connection closed;
    Recordset rs;
    EXPECT_THROW(modDB::OpenRecordset(rs, closed, modDB::kQuery), jet::Error);
}

TEST(Recordset, WalksRowsAndReadsFieldsAsText) {
    REQUIRE_TESTDATA();
    Connection db;
    modDB::OpenConnection(db, testFile("jackcess__testV1997.mdb"));
    Recordset rs;
    rs.OpenTable(db.Database(), "Table1");
    EXPECT_EQ(rs.RecordCount(), 2);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.Fields("A"), "a");
    EXPECT_EQ(rs["b"], "b"); // names ignore case, as Jet's do
    rs.MoveNext();
    EXPECT_EQ(rs.Fields("A"), "abcdefg");
    EXPECT_EQ(rs.Fields("E"), "333333333");
    rs.MoveNext();
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(errorOf([&] { rs.Fields("A"); }).kind(), jet::ErrorKind::Invalid);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields("A"), "a");
    EXPECT_EQ(errorOf([&] { rs.Fields("NoSuchColumn"); }).kind(), jet::ErrorKind::NotFound);
}

TEST(Recordset, EmptyTableStartsAtTheEnd) {
    REQUIRE_TESTDATA();
    Connection db;
    modDB::OpenConnection(db, testFile("jackcess__testV1997.mdb"));
    Recordset rs;
    rs.OpenTable(db.Database(), "Table2");
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_TRUE(rs.IsEOF());
}

} // namespace
