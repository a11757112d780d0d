#include "literal_rows.h"

#include "jet/write_session.h"
#include "text/utf8.h"

#include <cfloat>
#include <cstdint>

namespace jet::literal {
namespace {

// `count` characters taken from `piece` over and over.
std::string cycle(std::string_view piece, std::size_t count) {
    std::string out;
    for (std::size_t i = 0; count > 0; --count, i %= piece.size()) {
        char32_t c = 0;
        i += text::utf8::decode(piece, i, c);
        text::utf8::append(out, c);
    }
    return out;
}

Bytes pattern(std::size_t size) {
    Bytes out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(i * 7 + 3);
    return out;
}

Decimal decimal(bool negative, std::uint64_t magnitude) {
    return {negative,
            18,
            0,
            {static_cast<std::uint32_t>(magnitude), static_cast<std::uint32_t>(magnitude >> 32)}};
}

using I = std::int64_t;
using S = std::string;

} // namespace

std::vector<LiteralTable> literalTables() {
    using T = ColumnType;
    Guid ones, known{{0x69, 0x9b, 0x34, 0x1c, 0x99, 0xf3, 0x42, 0x40, 0x91, 0x91, 0x37, 0xfd, 0x1f,
                      0x6d, 0xeb, 0x8f}}; // {1C349B69-F399-4042-9191-37FD1F6DEB8F}
    ones.bytes.fill(0xff);
    const Value null;
    return {
        {"",
         {{"Id", T::Long, 255, true},
          {"Flag", T::Boolean},
          {"Small", T::Byte},
          {"Int", T::Integer},
          {"Big", T::Long},
          {"Cash", T::Currency},
          {"Real", T::Single},
          {"Wide", T::Double},
          {"When", T::DateTime},
          {"Code", T::Guid},
          {"Raw", T::Binary},
          {"Word", T::Text},
          {"Note", T::Memo},
          {"Blob", T::Ole}},
         "types",
         {"Flag", "Small", "Int", "Big", "Cash", "Real", "Wide", "When", "Code", "Raw", "Word",
          "Note", "Blob"},
         {// The low ends, zero-length text, long values kept in the row.
          {false, I{0}, I{-32768}, I{INT32_MIN}, Currency{INT64_MIN}, -double{FLT_MAX}, -DBL_MAX,
           DateTime{-657434}, Guid{}, Bytes{0x00}, S(), cycle("Fehu, Uruz, Thurisaz. ", 60),
           Bytes{0x00, 0xff}},
          // The high ends, compressible text, long values in one row of their own.
          {true, I{255}, I{32767}, I{INT32_MAX}, Currency{INT64_MAX}, double{FLT_MAX}, DBL_MAX,
           DateTime{2958465.99998843}, ones, pattern(255), cycle("Grüße aus Köln ", 255),
           cycle("Grüße aus Köln ", 1500), pattern(4000)},
          // Text that does not compress, long values chained over several pages.
          {true, I{7}, I{-1}, I{0}, Currency{12345}, 0.5, 0.1, DateTime{36526.5}, known,
           Bytes{1, 2, 3}, S("Ωμέγα ᚠ 中文 𝄞"), cycle("Fehu ᚠ ", 12000), pattern(9000)},
          {false, null, null, null, null, null, null, null, null, null, null, S(), null}}},
        // Jet 3 text is code-page bytes (Windows-1252 here); no test file has a Jet 3 table
        // without indexes that holds other types.
        {"rizky__biblio.mdb",
         {},
         "Authors",
         {"Name_Code", "Name_Description"},
         {{S("Œ€‰"), S("Zoë café – naïve “quoted”")}, {S(), null}, {S("ÿ"), cycle("ÀÉÎÕÜ ", 30)}}},
        // Access-made tables whose pages hold deleted and moved rows.
        {"jackcess__delTestV2000.mdb", {}, "Table", {"a", "b"}, {{S("Jet 4 Ω"), null}}},
        {"jackcess__overflowTestV2003.mdb",
         {},
         "Table1",
         {"data1", "data10"},
         {{S("after moved rows"), cycle("ß", 50)}}},
        {"jackcess__overflowTestV1997.mdb",
         {},
         "Table1", // a row past Jet 3's one-byte offsets
         {"data1", "data3", "data4", "data5", "data6", "data7", "data8", "data9", "data10"},
         {std::vector<Value>(9, cycle("Jet 3, 450 bytes ", 50))}},
        {"jackcess__fixedNumericTestV2003.mdb",
         {},
         "test",
         {"col1", "col2", "col3", "col4", "col5", "col6", "col7"},
         {{S("décimal"), decimal(false, 999999999999999999), decimal(true, 999999999999999999),
           decimal(false, 0), decimal(false, 1), decimal(true, 1), null}}},
        // Access 2007 and later: large numbers under a primary key, text outside the BMP under
        // a "General" index, decimals.
        {"mdbreader__V2016_bigint.accdb",
         {},
         "Table",
         {"ID", "Numeric"},
         {{I{2}, I{INT64_MIN}}, {I{3}, I{INT64_MAX}}, {I{4}, null}}},
        {"jackcess__testEmoticonsV2010.accdb",
         {},
         "data",
         {"key", "data"},
         {{I{1}, S("ᚠ 😀 after")}, {null, S("")}, {I{2}, null}}},
        {"jackcess__fixedNumericTestV2007.accdb",
         {},
         "test",
         {"col1", "col2", "col3", "col4", "col5", "col6", "col7"},
         {{S("décimal"), decimal(false, 999999999999999999), decimal(true, 999999999999999999),
           decimal(false, 0), decimal(false, 1), decimal(true, 1), null}}},
    };
}

std::vector<Value> expectedRow(const LiteralTable& literals, const std::vector<Column>& columns,
                               std::size_t r) {
    std::vector<Value> row(columns.size());
    for (std::size_t c = 0; c < columns.size(); ++c) {
        if (columns[c].autoNumber)
            row[c] = std::int64_t(r + 1);
        for (std::size_t i = 0; i < literals.written.size(); ++i)
            if (literals.written[i] == columns[c].name)
                row[c] = literals.rows[r][i];
    }
    return row;
}

std::filesystem::path writeLiteralFile(const LiteralTable& table,
                                       const std::filesystem::path& folder,
                                       const std::filesystem::path& testData) {
    const auto path = folder / (table.testFile.empty() ? "literals.mdb" : table.testFile);
    if (table.testFile.empty())
        createDatabase(path, {{table.table, table.columns}}, {"", 45000.0});
    else {
        std::filesystem::copy_file(testData / table.testFile, path,
                                   std::filesystem::copy_options::overwrite_existing);
        // The test files are read-only, and so is a copy of them.
        std::filesystem::permissions(path, std::filesystem::perms::owner_write,
                                     std::filesystem::perm_options::add);
    }
    WriteSession session = WriteSession::open(path);
    for (const auto& row : table.rows) {
        RowValues values;
        for (std::size_t i = 0; i < row.size(); ++i)
            values.emplace_back(table.written[i], row[i]);
        session.appendRow(table.table, values);
    }
    session.commit();
    return path;
}

} // namespace jet::literal
