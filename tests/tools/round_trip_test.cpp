// dump -> import round trips: every table without indexes in the Access-made test files, and a
// table of every column type the engine creates, read back value for value.
#include "augurlex-dict/commands.h"
#include "augurlex-dict/row_formats.h"
#include "augurlex-dict/table_import.h"
#include "jet/create.h"
#include "jet/write_session.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sstream>
#include <unistd.h>

namespace dict {
namespace {

namespace fs = std::filesystem;
const fs::path kTestData = AUGURLEX_TESTDATA;

fs::path scratchFile(const std::string& name) {
    fs::path dir = fs::temp_directory_path() / ("augurlex-round-trip-" + std::to_string(getpid()));
    fs::create_directories(dir);
    return dir / name;
}

std::string dumpCsv(const fs::path& path, const std::string& table, const std::string& pw = {}) {
    std::string text;
    {
        OutputWriter out(text);
        writeRows(jet::Database::open(path, pw).table(table), RowFormat::Csv, out);
    }
    return text;
}

void importInto(const fs::path& path, const std::string& table, const std::string& csv) {
    jet::WriteSession session = jet::WriteSession::open(path);
    importCsv(session, table, csv);
    session.commit();
}

// file -> password, from the listing of the test files.
std::map<std::string, std::string> passwords() {
    std::map<std::string, std::string> result;
    std::ifstream in(kTestData / "FILES.tsv");
    std::string line;
    std::getline(in, line);
    while (std::getline(in, line)) {
        std::vector<std::string> fields;
        std::stringstream split(line);
        for (std::string f; std::getline(split, f, '\t');)
            fields.push_back(f);
        if (fields.size() > 4 && fields[4] != "-")
            result[fields[0]] = fields[4];
    }
    return result;
}

// The same columns in a new Jet 4 table; false when a type cannot be created (decimal).
bool specLike(const jet::Database& db, const jet::Table& table, jet::TableSpec& spec) {
    spec = {"copy", {}};
    for (const jet::Column& c : table.columns()) {
        if (c.type == jet::ColumnType::Numeric)
            return false;
        jet::ColumnSpec column{c.name, c.type, 255, c.autoNumber};
        if (c.type == jet::ColumnType::Text)
            column.maxChars = static_cast<std::uint16_t>(
                std::clamp(db.version() == jet::Version::Jet4 ? c.length / 2 : c.length, 1, 255));
        spec.columns.push_back(column);
    }
    return true;
}

// Calls visit(path, password, database, table) for every table without indexes in the test files.
template <class Visit> int forEachTableWithoutIndexes(Visit visit) {
    const auto known = passwords();
    int tables = 0;
    for (const auto& entry : fs::directory_iterator(kTestData)) {
        if (entry.path().extension() != ".mdb")
            continue;
        const std::string name = entry.path().filename().string();
        const std::string pw = known.count(name) ? known.at(name) : "";
        std::optional<jet::Database> db;
        try {
            db.emplace(jet::Database::open(entry.path(), pw));
        } catch (const jet::Error&) {
            continue; // files we cannot open are the reader's tests' business
        }
        for (const std::string& tableName : db->tableNames()) {
            jet::Table table = db->table(tableName);
            if (!table.indexes().empty())
                continue;
            SCOPED_TRACE(name + " / " + tableName);
            visit(entry.path(), pw, *db, table);
            ++tables;
        }
    }
    return tables;
}

TEST(RoundTrip, EveryTestTableWithoutIndexesIntoANewFile) {
    if (!fs::is_directory(kTestData))
        GTEST_SKIP() << "no test data at " << kTestData;
    int copied = 0;
    int tables = forEachTableWithoutIndexes([&](const fs::path& path, const std::string& pw,
                                                const jet::Database& db, const jet::Table& table) {
        jet::TableSpec spec;
        if (!specLike(db, table, spec))
            return; // decimal columns: see below
        const std::string original = dumpCsv(path, table.name(), pw);
        fs::path copy = scratchFile("copy.mdb");
        jet::createDatabase(copy, {spec});
        ASSERT_NO_THROW(importInto(copy, "copy", original));
        EXPECT_EQ(dumpCsv(copy, "copy"), original);
        ++copied;
    });
    EXPECT_GE(tables, 10);
    EXPECT_GE(copied, tables - 1);
}

// Decimal columns cannot be created: such tables are imported into a copy of their own file,
// which must then hold every row twice.
TEST(RoundTrip, TablesWithDecimalColumnsIntoACopyOfTheirFile) {
    if (!fs::is_directory(kTestData))
        GTEST_SKIP() << "no test data at " << kTestData;
    int decimals = 0;
    forEachTableWithoutIndexes([&](const fs::path& path, const std::string& pw,
                                   const jet::Database& db, const jet::Table& table) {
        jet::TableSpec spec;
        if (specLike(db, table, spec))
            return;
        const std::string original = dumpCsv(path, table.name(), pw);
        fs::path copy = scratchFile("same.mdb");
        fs::copy_file(path, copy, fs::copy_options::overwrite_existing);
        jet::WriteSession session = jet::WriteSession::open(copy, pw);
        importCsv(session, table.name(), original);
        session.commit();
        const std::string rows = original.substr(original.find("\r\n") + 2);
        EXPECT_EQ(dumpCsv(copy, table.name(), pw), original + rows);
        ++decimals;
    });
    EXPECT_GE(decimals, 1);
}

jet::Value randomValue(jet::ColumnType type, std::mt19937_64& random) {
    using T = jet::ColumnType;
    if (random() % 8 == 0 && type != T::Boolean)
        return {};
    auto text = [&](std::size_t most) {
        static const char* pieces[] = {"a", "Z", " ", ",", "\"", "\r\n", "é", "ж", "天", "𝔘", "\t"};
        std::string s;
        std::size_t n = random() % (most + 1);
        for (std::size_t i = 0; i < n; ++i)
            s += pieces[random() % std::size(pieces)];
        return s;
    };
    switch (type) {
    case T::Boolean:
        return random() % 2 == 0;
    case T::Byte:
        return static_cast<std::int64_t>(random() % 256);
    case T::Integer:
        return static_cast<std::int64_t>(static_cast<std::int16_t>(random()));
    case T::Long:
        return static_cast<std::int64_t>(static_cast<std::int32_t>(random()));
    case T::Currency:
        return jet::Currency{static_cast<std::int64_t>(random())};
    case T::Single:
        return double{static_cast<float>(std::ldexp(static_cast<double>(random() % 100000) - 50000,
                                                    static_cast<int>(random() % 60) - 30))};
    case T::Double: {
        std::uint64_t bits = random();
        double d;
        std::memcpy(&d, &bits, sizeof d);
        return std::isnan(d) ? 0.5 : d;
    }
    case T::DateTime: {
        double days = static_cast<double>(static_cast<std::int64_t>(random() % 3000000) - 600000);
        double time = static_cast<double>(random() % 86400) / 86400;
        return jet::DateTime{days < 0 ? days - time : days + time};
    }
    case T::Guid: {
        jet::Guid g;
        for (auto& b : g.bytes)
            b = static_cast<std::uint8_t>(random());
        return g;
    }
    case T::Binary:
    case T::Ole: {
        jet::Bytes bytes(random() % (type == T::Ole ? 5000 : 200));
        for (auto& b : bytes)
            b = static_cast<std::uint8_t>(random());
        return bytes;
    }
    case T::Text:
        return text(60);
    case T::Memo:
        return text(random() % 4 == 0 ? 3000 : 40);
    case T::Numeric:
        break;
    }
    return {};
}

TEST(RoundTrip, EveryColumnTypeValueForValue) {
    using T = jet::ColumnType;
    const std::vector<T> types = {T::Boolean, T::Byte,   T::Integer,  T::Long, T::Currency,
                                  T::Single,  T::Double, T::DateTime, T::Guid, T::Binary,
                                  T::Text,    T::Ole,    T::Memo};
    jet::TableSpec spec{"every", {{"Id", T::Long, 255, true}}};
    for (T type : types)
        spec.columns.push_back({std::string("c_") + jet::columnTypeName(type), type, 255, false});
    const fs::path source = scratchFile("every.mdb"), target = scratchFile("every-copy.mdb");
    jet::createDatabase(source, {spec});
    jet::createDatabase(target, {spec});

    std::mt19937_64 random(11);
    std::vector<jet::RowValues> rows;
    {
        jet::WriteSession session = jet::WriteSession::open(source);
        for (int r = 0; r < 300; ++r) {
            jet::RowValues row;
            for (std::size_t c = 1; c < spec.columns.size(); ++c)
                row.emplace_back(spec.columns[c].name, randomValue(spec.columns[c].type, random));
            session.appendRow("every", row);
        }
        session.commit();
    }
    importInto(target, "every", dumpCsv(source, "every"));

    jet::Cursor a = jet::Database::open(source).table("every").cursor();
    jet::Cursor b = jet::Database::open(target).table("every").cursor();
    ASSERT_EQ(a.recordCount(), 300u);
    ASSERT_EQ(b.recordCount(), 300u);
    a.moveFirst();
    b.moveFirst();
    for (int r = 0; r < 300; ++r, a.moveNext(), b.moveNext())
        for (std::size_t c = 0; c < spec.columns.size(); ++c) {
            const jet::Value& x = a.value(c);
            const jet::Value& y = b.value(c);
            if (x.is<jet::DateTime>() && y.is<jet::DateTime>()) // seconds, as the text form
                EXPECT_NEAR(x.as<jet::DateTime>().days, y.as<jet::DateTime>().days, 1e-5);
            else
                EXPECT_EQ(x, y) << "row " << r + 1 << " column " << spec.columns[c].name;
        }
}

std::vector<std::uint8_t> fileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// The command as a whole: whatever is wrong with the CSV, the file keeps every byte.
TEST(ImportCommand, RefusedImportsLeaveTheFileAsItWas) {
    using T = jet::ColumnType;
    const fs::path file = scratchFile("refused.mdb"), csv = scratchFile("refused.csv");
    jet::createDatabase(file, {{"t",
                                {{"Id", T::Long, 255, true},
                                 {"When", T::DateTime},
                                 {"Small", T::Byte},
                                 {"Tag", T::Guid},
                                 {"Blob", T::Binary},
                                 {"Name", T::Text, 5}}}});
    ASSERT_NO_THROW(importInto(file, "t", "Name,When\nfirst,2024-01-02T03:04:05\n"));
    const std::vector<std::uint8_t> before = fileBytes(file);
    const char* cases[] = {
        "Name,When\nok,2024-01-02T03:04:05\nbad,2024-13-01T00:00:00\n", // bad date
        "Small\n255\n256\n",                                            // out of range
        "Tag\n{12345678-1234-1234-1234-1234567890AB}\n{1234}\n",        // bad GUID
        "Blob\nAAAA\n!!!!\n",                                           // not base64
        "Name\nabcde\nabcdef\n",                                        // text too long
        "Id,Id\n1,2\n",                                                 // a column twice
        "Name\n\"unterminated\n",                                       // quote never closed
    };
    for (const char* text : cases) {
        SCOPED_TRACE(text);
        std::ofstream(csv, std::ios::binary) << text;
        std::FILE* sink = std::tmpfile();
        EXPECT_EQ(runImport({file.string(), "--csv", csv.string()}, sink, sink), kFailure);
        std::fclose(sink);
        EXPECT_EQ(fileBytes(file), before);
    }
    // The same rows without the bad ones go in, autonumbers continuing.
    std::ofstream(csv, std::ios::binary) << "Name,Small\ntwo,255\n";
    std::FILE* sink = std::tmpfile();
    EXPECT_EQ(runImport({file.string(), "--csv", csv.string()}, sink, sink), kSuccess);
    std::fclose(sink);
    EXPECT_EQ(dumpCsv(file, "t"), "Id,When,Small,Tag,Blob,Name\r\n"
                                  "1,2024-01-02T03:04:05,,,,first\r\n"
                                  "2,,255,,,two\r\n");
}

} // namespace
} // namespace dict
