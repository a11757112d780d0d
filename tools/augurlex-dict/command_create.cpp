// augurlex-dict create FILE [--password P] [--catalogue] [--force]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/dictionary_tables.h"
#include "augurlex-dict/messages.h"
#include "jet/create.h"
#include "jet/error.h"
#include "jet/write_lock.h"
#include "store/program_files.h"

#include <filesystem>
#include <optional>
#include <string>

namespace dict {

int runCreate(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"password"}, {"catalogue", "force"});
    if (args.positionals().size() != 1)
        throw UsageError("create takes exactly one FILE");
    const std::string& path = args.positionals()[0];
    const bool catalogue = args.has("catalogue");

    jet::CreateOptions options;
    options.password = args.option("password").value_or(store::kDatabasePassword);
    if (options.password.size() > 20)
        throw UsageError("a database password holds at most 20 characters");

    // Replacing a file waits for any other writer of its folder.
    std::optional<jet::WriteLock> lock;
    if (args.has("force")) {
        try {
            lock.emplace(jet::WriteLock::acquire(folderOf(path)));
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
    try {
        jet::createDatabase(path, {catalogue ? catalogueTableSpec() : dictionaryTableSpec()},
                            options);
    } catch (const jet::Error& failure) {
        tellUser(err, path + ": " + failure.what());
        return failure.kind() == jet::ErrorKind::Invalid ? kUsage : kFailure;
    }
    std::fprintf(out, "created %s: %s, table \"data\"%s\n", path.c_str(),
                 catalogue ? "a catalogue file" : "a dictionary file",
                 options.password.empty() ? ", no password" : "");
    return std::fflush(out) == 0 ? kSuccess : cannotWriteOutput(err);
}

} // namespace dict
