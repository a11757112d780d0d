// augurlex-dict import FILE --csv CSV [--password P] [--table NAME]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/open_database.h"
#include "augurlex-dict/table_choice.h"
#include "augurlex-dict/table_import.h"
#include "jet/write_lock.h"
#include "jet/write_session.h"
#include "text/printable_text.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

namespace dict {

namespace {

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

} // namespace

int runImport(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password", "csv", "table"});
    if (args.positionals().size() != 1)
        throw UsageError("import takes exactly one FILE");
    std::optional<std::string> csvPath = args.option("csv");
    if (!csvPath)
        throw UsageError("import needs --csv CSV, the rows to append");
    const std::string& path = args.positionals()[0];

    // Read as the rows are appended, so the rows never sit in memory twice.
    OpenFile csvFile(std::fopen(csvPath->c_str(), "rb"));
    std::optional<CsvReader> csv;
    if (csvFile)
        csv.emplace(csvFile.get());
    if (!csv || csv->readFailed()) {
        tellUser(err, *csvPath + ": cannot read the file");
        return kUnreadable;
    }

    // Held from the read of the file to its commit, so a concurrent writer's rows are never
    // written over.
    std::optional<jet::WriteLock> lock;
    try {
        lock.emplace(jet::WriteLock::acquire(jet::WriteLock::folderToLock(path)));
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()) + "; nothing was imported");
        return kFailure;
    }

    std::optional<jet::WriteSession> session;
    try {
        session.emplace(withProgramPasswords(args.option("password"), [&](std::string_view pw) {
            return jet::WriteSession::open(path, pw);
        }));
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()));
        return kUnreadable;
    }

    std::uint64_t rows = 0;
    std::string table;
    try {
        table =
            chooseTable(session->database(), args.option("table"), path, args.option("password"));
        // Every row goes into the one session; the file changes only at the commit.
        rows = importCsv(*session, table, *csv);
        session->commit();
    } catch (const ImportError& error) {
        tellUser(err, *csvPath + " " + error.what() + "; nothing was imported into " + path);
        return kFailure;
    } catch (const jet::Error& error) {
        tellUser(err, aboutFile(path, error.what()) + "; nothing was imported");
        return error.kind() == jet::ErrorKind::Corrupt ? kUnreadable : kFailure;
    }
    std::fprintf(out, "appended %llu rows to table \"%s\" of %s\n",
                 static_cast<unsigned long long>(rows), text::printableText(table).c_str(),
                 text::printableText(path).c_str());
    return std::fflush(out) == 0 ? kSuccess : cannotWriteOutput(err);
}

} // namespace dict
