// Appending rows to indexed tables keeps every index exact: each Access-made test table takes
// its own rows again (unique columns changed so the keys stay unique; encrypted files with their
// password, the pages written coded as the others), and a table filled with
// many random keys (pages split at every level) still checks clean with every entry in order.
#include "index_support.h"
#include "jet/check.h"
#include "jet/write_session.h"
#include "read/index_pages_read.h"
#include "read/state.h"

#include <gtest/gtest.h>
#include <random>
#include <set>
#include <tuple>

namespace jet::test {
namespace {

// The column positions that some unique index covers.
std::set<std::size_t> uniqueColumns(const Table& table) {
    std::set<std::size_t> out;
    for (const Index& index : table.indexes())
        if (index.unique || index.primaryKey)
            for (const IndexColumn& c : index.columns)
                out.insert(c.column);
    return out;
}

// `value` changed so that no other row of the table has it, by `serial`.
Value madeUnique(const Column& column, const Value& value, int serial) {
    switch (column.type) {
    case ColumnType::Text: {
        const std::string tag = "~" + std::to_string(serial);
        std::string text = value.is<std::string>() ? value.as<std::string>() : std::string();
        const std::size_t room =
            column.length / 2 > tag.size() ? column.length / 2 - tag.size() : 0;
        if (text.size() > room)
            text.resize(room);
        return text + tag;
    }
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
        return column.autoNumber ? Value() : Value(std::int64_t{30000 - serial});
    case ColumnType::Double:
    case ColumnType::Single:
        return 1e6 + serial;
    case ColumnType::DateTime:
        return DateTime{70000.0 + serial};
    case ColumnType::Currency:
        return Currency{std::int64_t{1000000000} + serial};
    case ColumnType::Guid: {
        Guid g;
        g.bytes[15] = static_cast<std::uint8_t>(serial);
        g.bytes[14] = static_cast<std::uint8_t>(serial >> 8);
        g.bytes[0] = 0xa5;
        return g;
    }
    default:
        return value;
    }
}

std::vector<std::string> faultsOf(const std::filesystem::path& path,
                                  const std::string& password = {}) {
    std::vector<std::string> out;
    for (const std::string& fault : checkDatabase(path, password))
        if (fault.find("past the end of the file") == std::string::npos)
            out.push_back(fault);
    return out;
}

TEST(IndexAppend, EveryAccessMadeTableTakesItsOwnRowsAgain) {
    int tables = 0;
    int appended = 0;
    int encrypted = 0;
    for (const auto& [name, password, ace] : openTestFiles()) {
        ScratchDir dir;
        const auto copy = dir.copy(name);
        const std::vector<std::string> faultsBefore = faultsOf(copy, password);
        if (!faultsBefore.empty()) // made so by Access: the writer refuses it whole
            continue;
        WriteSession session = WriteSession::open(copy, password);
        const Database db = Database::open(testFile(name), password);
        encrypted += ace && db.pageEncrypted();
        std::map<std::string, std::uint32_t> expectedRows;
        for (const std::string& tableName : db.tableNames()) {
            const Table table = db.table(tableName);
            if (table.indexes().empty())
                continue;
            const std::set<std::size_t> unique = uniqueColumns(table);
            std::uint32_t rows = table.storedRowCount();
            bool usable = true;
            int serial = 0;
            for (Cursor c = table.cursor(); !c.eof() && usable; c.moveNext()) {
                RowValues values;
                for (std::size_t i = 0; i < table.columns().size(); ++i) {
                    const Column& column = table.columns()[i];
                    Value v = c.value(i);
                    if (unique.count(i))
                        v = madeUnique(column, v, ++serial);
                    values.emplace_back(column.name, v);
                }
                try {
                    session.appendRow(tableName, values);
                    ++rows;
                    ++appended;
                } catch (const Error& e) {
                    // Sort orders without keys, and tables the writer cannot take at all.
                    const std::string message = e.what();
                    EXPECT_TRUE(message.find("index \"") != std::string::npos ||
                                message.find("sort order") != std::string::npos ||
                                message.find("cannot") != std::string::npos)
                        << name << " " << tableName << ": " << message;
                    usable = message.find("index \"") == std::string::npos ||
                             message.find("duplicates") != std::string::npos;
                }
            }
            ++tables;
            expectedRows[tableName] = rows;
        }
        session.commit();
        EXPECT_EQ(faultsOf(copy, password), faultsBefore) << name;
        const Database after = Database::open(copy, password);
        for (const auto& [tableName, rows] : expectedRows)
            EXPECT_EQ(after.table(tableName).cursor().recordCount(), rows)
                << name << " " << tableName;
    }
    EXPECT_EQ(encrypted, 4); // every Office scheme: the pages written are coded as the others
    EXPECT_GE(tables, 29);
    EXPECT_GE(appended, 500);
}

// Long random text keys, so that pages split at every level and the tree grows to three.
std::string randomText(std::mt19937& random, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i)
        out += static_cast<char>('a' + random() % 26);
    return out;
}

// The number of page levels of the index whose root is `root`.
int depthOf(const Database& db, std::uint32_t root) {
    const auto& state = *detail::DatabaseAccess::state(db);
    int depth = 1;
    for (std::uint32_t page = root;; ++depth) {
        const auto read = detail::readIndexPage(*state.format, state.pages.page(page), page);
        if (read.leaf || read.entries.empty())
            return depth;
        page = detail::childPageOf(read.entries.front());
    }
}

constexpr const char* kPropertiesFile = "jackcess__testIndexPropertiesV2003.mdb";

// Text primary keys, a unique two-column index and a plain index that ignores nulls, filled with
// random keys (duplicates and nulls in the plain index) in two sessions.
TEST(IndexAppend, ManyRandomKeysSplitPagesAtEveryLevel) {
    ScratchDir dir;
    const auto copy = dir.copy(kPropertiesFile);
    std::mt19937 random(14);
    constexpr int kRowsPerSession = 3000;
    int serial = 0;
    for (int round = 0; round < 2; ++round) {
        WriteSession session = WriteSession::open(copy);
        for (int i = 0; i < kRowsPerSession; ++i) {
            ++serial;
            session.appendRow("TableUnique2_temp",
                              {{"row", randomText(random, 40) + std::to_string(serial)},
                               {"data1", randomText(random, 1 + random() % 45)},
                               {"data2", std::int64_t{serial}}});
            Value data1 = random() % 5 == 0 ? Value() : Value(randomText(random, 2));
            Value data2 = random() % 5 == 0 ? Value() : Value(std::int64_t(random() % 50));
            session.appendRow("TableIgnoreNulls2",
                              {{"row", randomText(random, 44) + std::to_string(serial)},
                               {"data1", data1},
                               {"data2", data2}});
        }
        session.commit();
    }
    EXPECT_EQ(faultsOf(copy), std::vector<std::string>{});

    const Database after = Database::open(copy);
    for (const char* name : {"TableUnique2_temp", "TableIgnoreNulls2"}) {
        const Table table = after.table(name);
        EXPECT_GE(table.cursor().recordCount(), 2u * kRowsPerSession);
        for (const Index& index : table.indexes())
            if (index.primaryKey) {
                EXPECT_GE(depthOf(after, index.firstPage), 3) << name;
            }
    }
}

// Leaf pages packed full of equal keys, as Access packs them: a null key in front leaves the
// entries no prefix to share, and the page splits until every part fits; random and equal keys
// follow until the table has taken 10,000 rows.
TEST(IndexAppend, PagesFullOfEqualKeysSplitUntilEveryPartFits) {
    std::mt19937 random(23);
    for (const char* name :
         {"generated__dense-index-long.mdb", "generated__dense-index-text.mdb"}) {
        ScratchDir dir;
        const auto copy = dir.copy(name);
        WriteSession session = WriteSession::open(copy);
        session.appendRow("sys_db_fields", {{"db_key", std::int64_t{5}}});
        for (std::int64_t i = 1; i < 10000; ++i) {
            // Half equal keys, one in ten null, the rest random.
            RowValues row{{"id", i}};
            const auto pick = random() % 10;
            if (pick < 5) {
                row.emplace_back("db_table", std::string("tbl_000"));
                row.emplace_back("orderID", std::int64_t{0});
            } else if (pick > 5) {
                row.emplace_back("db_table", randomText(random, 1 + random() % 12));
                row.emplace_back("orderID", std::int64_t(random() % 2000) - 1000);
            }
            session.appendRow("sys_db_fields", row);
        }
        session.commit();
        EXPECT_EQ(faultsOf(copy), std::vector<std::string>{}) << name;
    }
}

// A text column in a sort order without keys (here Chinese, and an Access 97 file whose header
// names the Swedish order) refuses rows for the index over it, naming the index and the sort
// order, before anything changes.
TEST(IndexAppend, AnUnsupportedSortOrderRefusesTheRowByName) {
    ScratchDir dir;
    Anatomy file(testFile(kPropertiesFile));
    const detail::TableDef def = file.tableDef("TableUnique1_temp");
    const int data = file.db.table("TableUnique1_temp").columnIndex("data");
    ASSERT_GE(data, 0);
    auto bytes = file.bytes;
    detail::putLe16(
        bytes,
        file.at(def.page, file.format.tdefRealIndexStart +
                              def.realIndexes.size() * file.format.tdefRealIndexEntrySize +
                              static_cast<std::size_t>(data) * file.format.columnEntrySize + 11),
        2052); // the column's sort order: Chinese
    // The header's sort order (masked: XOR changes 1033 to 1053 whatever the mask).
    auto jet3 = readBytes(testFile("jackcess__testIndexCodesV1997.mdb"));
    jet3[0x3a] ^= 1033 ^ 1053;
    for (const auto& [name, fileBytes, table, index, order] :
         std::vector<std::tuple<std::string, std::vector<std::uint8_t>, std::string, std::string,
                                std::string>>{
             {kPropertiesFile, bytes, "TableUnique1_temp", "DataIndex", "2052"},
             {"jet3.mdb", jet3, "Table1", "DataIndex", "1053"}}) {
        const auto copy = dir.write(name, fileBytes);
        EXPECT_EQ(faultsOf(copy), std::vector<std::string>{}) << name;
        WriteSession session = WriteSession::open(copy);
        const std::string message = errorOf(ErrorKind::Invalid, [&] {
            session.appendRow(table, {{table == "Table1" ? "name" : "row", std::string("new")},
                                      {"data", std::string("text")}});
        });
        EXPECT_TRUE(mentions(message, "index \"" + index + "\"") && mentions(message, order))
            << message;
        session.commit();
        EXPECT_EQ(readBytes(copy), fileBytes);
    }
}

} // namespace
} // namespace jet::test
