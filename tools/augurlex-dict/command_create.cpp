// augurlex-dict create FILE [--password P] [--catalogue] [--force]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/dictionary_tables.h"
#include "jet/create.h"
#include "jet/error.h"
#include "store/program_files.h"

#include <filesystem>
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

    std::error_code error;
    if (std::filesystem::exists(path, error) && !args.has("force")) {
        std::fprintf(err, "augurlex-dict: %s already exists; add --force to replace it\n",
                     path.c_str());
        return kFailure;
    }
    try {
        jet::createDatabase(path, {catalogue ? catalogueTableSpec() : dictionaryTableSpec()},
                            options);
    } catch (const jet::Error& failure) {
        std::fprintf(err, "augurlex-dict: %s: %s\n", path.c_str(), failure.what());
        return failure.kind() == jet::ErrorKind::Invalid ? kUsage : kFailure;
    }
    std::fprintf(out, "created %s: %s, table \"data\"%s\n", path.c_str(),
                 catalogue ? "a catalogue file" : "a dictionary file",
                 options.password.empty() ? ", no password" : "");
    return kSuccess;
}

} // namespace dict
