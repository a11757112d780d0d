#include "open_and_dump.h"

#include "augurlex-dict/page_text.h"
#include "augurlex-dict/row_formats.h"
#include "jet/check.h"
#include "jet/page_report.h"
#include "jet/write_session.h"
#include "store/program_files.h"

#include <optional>
#include <stdexcept>

namespace fuzzing {

namespace {

// The program's password and none, then the one the Office-encrypted test files share, so that
// damaged copies of those reach their decoded pages too.
constexpr const char* kPasswords[] = {store::kDatabasePassword, "", "password"};

void dumpEverything(const jet::Database& db) {
    for (const std::string& name : db.tableNames()) {
        jet::Table table = db.table(name);
        (void)table.indexes();
        (void)table.storedRowCount();
        const std::uint64_t announced = table.cursor().recordCount();
        for (dict::RowFormat format : {dict::RowFormat::JsonLines, dict::RowFormat::Csv}) {
            std::string text;
            dict::OutputWriter out(text);
            if (dict::writeRows(table, format, out) != announced)
                throw std::logic_error("table \"" + name + "\": the walk and its count disagree");
        }
    }
}

// The writer meets the same hostile files: it appends to each table in memory (never committed,
// so the input is not rewritten) an empty row and one with long text in every text column, and
// the integrity check walks every page.
void appendEverywhere(const std::filesystem::path& path, const char* password) {
    jet::WriteSession session = jet::WriteSession::open(path, password);
    for (const std::string& name : session.database().tableNames()) {
        jet::RowValues longText;
        for (const jet::Column& column : session.database().table(name).columns())
            if (column.type == jet::ColumnType::Text || column.type == jet::ColumnType::Memo)
                longText.emplace_back(column.name, std::string(column.length ? 20 : 6000, 'y'));
        for (const jet::RowValues& row : {jet::RowValues{}, longText}) {
            try {
                session.appendRow(name, row);
            } catch (const jet::Error&) {
                // refused rows are fine; what matters is that nothing else happens
            }
        }
    }
    (void)jet::checkDatabase(path, password);
}

} // namespace

void describeEveryPage(const std::filesystem::path& path, bool layOut) {
    std::optional<jet::PageReporter> file;
    for (const char* password : kPasswords) {
        try {
            file.emplace(jet::PageReporter::open(path, password));
            break;
        } catch (const jet::Error&) {
        }
    }
    for (std::uint32_t page = 0; file && page < file->pageCount(); ++page) {
        try {
            const jet::PageReport report = file->report(page);
            if (layOut)
                (void)dict::pageDescription(report, file->pageCount(), file->pageSize());
        } catch (const jet::Error& error) {
            throw std::logic_error("page " + std::to_string(page) + ": " + error.what());
        }
    }
}

int openAndDump(const std::filesystem::path& path) {
    int refusals = 0;
    bool locked = false;
    for (const char* password : kPasswords) {
        if (password == kPasswords[2] && !locked)
            break; // any file the others open opens with it too
        try {
            dumpEverything(jet::Database::open(path, password));
            appendEverywhere(path, password);
            locked = false;
        } catch (const jet::Error& e) {
            ++refusals;
            locked = e.kind() == jet::ErrorKind::BadPassword;
        }
    }
    return refusals;
}

} // namespace fuzzing
