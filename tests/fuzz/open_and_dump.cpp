#include "open_and_dump.h"

#include "augurlex-dict/row_formats.h"
#include "jet/database.h"
#include "store/modDB.h"

#include <string>

namespace fuzzing {

namespace {

void dumpEverything(const jet::Database& db) {
    (void)db.version();
    (void)db.pageCount();
    (void)db.hasPassword();
    for (const std::string& name : db.tableNames()) {
        jet::Table table = db.table(name);
        (void)table.indexes();
        (void)table.storedRowCount();
        (void)table.cursor().recordCount();
        for (dict::RowFormat format : {dict::RowFormat::JsonLines, dict::RowFormat::Csv}) {
            std::string text;
            dict::OutputWriter out(text);
            dict::writeRows(table, format, out);
        }
    }
}

} // namespace

int openAndDump(const std::filesystem::path& path) {
    int refusals = 0;
    for (const char* password : {modDB::kDatabasePassword, ""}) {
        try {
            dumpEverything(jet::Database::open(path, password));
        } catch (const jet::Error&) {
            ++refusals;
        }
    }
    return refusals;
}

} // namespace fuzzing
