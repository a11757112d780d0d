// Writes the literal rows of every column type (tests/jet_writer/literal_rows.h) into FOLDER and
// prints one JSON line a file: {"file", "table", "rows": [{column: value}]}, the rows being the
// literals the independent readers must read back after the rows the table held, in the forms
// `augurlex-dict dump` writes.
//   write_literal_files FOLDER TESTDATA
#include "augurlex-dict/row_formats.h"
#include "jet/database.h"
#include "literal_rows.h"

int main(int argc, char** argv) {
    if (argc != 3)
        return 2;
    dict::OutputWriter out(stdout);
    for (const auto& literals : jet::literal::literalTables()) {
        const auto path = jet::literal::writeLiteralFile(literals, argv[1], argv[2]);
        out.put("{\"file\": ");
        dict::putJsonValue(out, path.string());
        out.put(", \"table\": ");
        dict::putJsonValue(out, literals.table);
        out.put(", \"rows\": [");
        const auto columns = jet::Database::open(path).table(literals.table).columns();
        for (std::size_t r = 0; r < literals.rows.size(); ++r) {
            const auto row = jet::literal::expectedRow(literals, columns, r);
            for (std::size_t c = 0; c < columns.size(); ++c) {
                out.put(c ? ", " : r ? ", {" : "{");
                dict::putJsonValue(out, columns[c].name);
                out.put(": ");
                dict::putJsonValue(out, row[c]);
            }
            out.put("}");
        }
        out.put("]}\n");
    }
    return out.flush() ? 0 : 1;
}
