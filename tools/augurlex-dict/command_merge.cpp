// augurlex-dict merge UPDATE_FILE [--folder DIR]
// Merges an update file into the dictionaries of DIR (by default the folder of this program,
// which is the program folder), prints the report, and exits 0 only when no record failed.
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "update/merge.h"
#include "update/merge_report.h"

#include <filesystem>
#include <string>

namespace dict {

int runMerge(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"folder"});
    if (args.positionals().size() != 1)
        throw UsageError("merge takes exactly one UPDATE_FILE");
    const std::string folder = dictionaryFolder(args);
    if (!std::filesystem::is_directory(folder)) {
        tellUser(err, folder + " is not a folder");
        return kFailure;
    }

    update::MergeReport report = update::mergeUpdateFile(args.positionals()[0], folder);
    std::string text = update::reportText(report);
    bool written = std::fputs(text.c_str(), out) >= 0 && std::fflush(out) == 0;
    if (report.nothingToUpdate && !report.updateFileProblem.empty())
        return kFailure; // the file could not be read as an update
    if (!written)
        return cannotWriteOutput(err);
    return report.succeeded() ? kSuccess : kFailure;
}

} // namespace dict
