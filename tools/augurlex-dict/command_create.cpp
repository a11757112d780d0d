// augurlex-dict create FILE [--format mdb|accdb] [--password P] [--catalogue] [--force]
//                           [--index COLUMN[,COLUMN...] [--unique] [--primary-key]
//                            [--descending] [--ignore-nulls]]...
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/dictionary_tables.h"
#include "augurlex-dict/messages.h"
#include "jet/create.h"
#include "jet/error.h"
#include "jet/write_lock.h"
#include "store/program_files.h"
#include "text/printable_text.h"

#include <filesystem>
#include <optional>
#include <string>

namespace dict {
namespace {

std::vector<std::string> splitColumns(const std::string& list) {
    std::vector<std::string> columns;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = list.find(',', start);
        columns.push_back(list.substr(start, comma - start));
        if (columns.back().empty())
            throw UsageError("--index takes column names separated by commas");
        if (comma == std::string::npos)
            return columns;
        start = comma + 1;
    }
}

// Takes every "--index COLUMNS" out of `words`, each with the "--unique", "--primary-key",
// "--descending" and "--ignore-nulls" that follow it (they describe the index before them), and
// leaves the other words in order.
std::vector<jet::IndexSpec> takeIndexes(std::vector<std::string>& words) {
    std::vector<jet::IndexSpec> indexes;
    std::vector<std::string> rest;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::string& word = words[i];
        if (word == "--") {
            rest.insert(rest.end(), words.begin() + static_cast<std::ptrdiff_t>(i), words.end());
            break;
        }
        if (word == "--password" && i + 1 < words.size()) { // its value may look like an option
            rest.push_back(word);
            rest.push_back(words[++i]);
        } else if (word == "--index" || word.rfind("--index=", 0) == 0) {
            if (word == "--index" && i + 1 >= words.size())
                throw UsageError("option --index needs a value");
            indexes.push_back({splitColumns(word == "--index" ? words[++i] : word.substr(8))});
        } else if (word == "--unique" || word == "--primary-key" || word == "--descending" ||
                   word == "--ignore-nulls") {
            if (indexes.empty())
                throw UsageError(word + " describes the --index before it");
            jet::IndexSpec& index = indexes.back();
            (word == "--unique"        ? index.unique
             : word == "--primary-key" ? index.primaryKey
             : word == "--descending"  ? index.descending
                                       : index.ignoreNulls) = true;
        } else {
            rest.push_back(word);
        }
    }
    words = std::move(rest);
    return indexes;
}

// ", indexed on Link (unique), Key (descending)" for the indexes of `table`; empty for none.
std::string indexList(const jet::TableSpec& table) {
    std::string list;
    for (const jet::IndexSpec& index : table.indexes) {
        list += list.empty() ? ", indexed on " : ", ";
        for (std::size_t i = 0; i < index.columns.size(); ++i)
            list += (i ? "+" : "") + index.columns[i];
        std::string traits;
        if (index.primaryKey || index.unique)
            traits = index.primaryKey ? "primary key" : "unique";
        if (index.descending)
            traits += (traits.empty() ? "" : ", ") + std::string("descending");
        if (index.ignoreNulls)
            traits += (traits.empty() ? "" : ", ") + std::string("ignores nulls");
        if (!traits.empty())
            list += " (" + traits + ")";
    }
    return list;
}

} // namespace

int runCreate(const std::vector<std::string>& given, std::FILE* out, std::FILE* err) {
    std::vector<std::string> words = given;
    std::vector<jet::IndexSpec> indexes = takeIndexes(words);
    Arguments args = Arguments::parse(words, {"password", "format"}, {"catalogue", "force"});
    if (args.positionals().size() != 1)
        throw UsageError("create takes exactly one FILE");
    const std::string& path = args.positionals()[0];
    const bool catalogue = args.has("catalogue");
    const std::string format = args.option("format").value_or("mdb");
    if (format != "mdb" && format != "accdb")
        throw UsageError("--format takes mdb or accdb");
    const bool accdb = format == "accdb";

    jet::CreateOptions options;
    options.version = accdb ? jet::Version::Ace14 : jet::Version::Jet4;
    // An Access 2010 file keeps a password only by being encrypted, which create does not do.
    options.password = args.option("password").value_or(accdb ? "" : store::kDatabasePassword);
    if (accdb && !options.password.empty())
        throw UsageError("an .accdb file keeps a password only when Access encrypts it; create "
                         "--format accdb makes files without one");
    if (options.password.size() > 20)
        throw UsageError("a database password holds at most 20 characters");

    // Replacing a file waits for any other writer of its folder.
    std::optional<jet::WriteLock> lock;
    if (args.has("force")) {
        try {
            lock.emplace(jet::WriteLock::acquire(jet::WriteLock::folderToLock(path)));
        } catch (const jet::Error& failure) {
            tellUser(err, path + ": " + failure.what());
            return kFailure;
        }
    }
    std::error_code error;
    if (std::filesystem::exists(path, error) && !args.has("force")) {
        tellUser(err, path + " already exists; add --force to replace it");
        return kFailure;
    }
    jet::TableSpec table = catalogue ? catalogueTableSpec() : dictionaryTableSpec();
    table.indexes = std::move(indexes);
    try {
        jet::createDatabase(path, {table}, options);
    } catch (const jet::Error& failure) {
        tellUser(err, path + ": " + failure.what());
        return failure.kind() == jet::ErrorKind::Invalid ? kUsage : kFailure;
    }
    std::fprintf(out, "created %s: %s%s, table \"data\"%s%s\n", text::printableText(path).c_str(),
                 catalogue ? "a catalogue file" : "a dictionary file",
                 accdb ? " (Access 2010)" : "", indexList(table).c_str(),
                 options.password.empty() ? ", no password" : "");
    return std::fflush(out) == 0 ? kSuccess : cannotWriteOutput(err);
}

} // namespace dict
