#include "open_and_dump.h"

#include "augurlex-dict/row_formats.h"
#include "jet/check.h"
#include "jet/database.h"
#include "jet/write_session.h"
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

// The writer meets the same hostile files: it appends to each table in memory (never committed,
// so the input is not rewritten) and the integrity check walks every page.
void appendEverywhere(const std::filesystem::path& path, const char* password) {
    jet::WriteSession session = jet::WriteSession::open(path, password);
    for (const std::string& name : session.database().tableNames()) {
        try {
            session.appendRow(name, {});
        } catch (const jet::Error&) {
            // refused rows are fine; what matters is that nothing else happens
        }
    }
    (void)jet::checkDatabase(path, password);
}

} // namespace

int openAndDump(const std::filesystem::path& path) {
    int refusals = 0;
    for (const char* password : {modDB::kDatabasePassword, ""}) {
        try {
            dumpEverything(jet::Database::open(path, password));
            appendEverywhere(path, password);
        } catch (const jet::Error&) {
            ++refusals;
        }
    }
    return refusals;
}

} // namespace fuzzing
