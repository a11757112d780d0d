// augurlex-dict search TERM [--mode exact|wildcard] [--dictionary NAME] [--folder DIR]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "augurlex-dict/output_writer.h"
#include "lookup/keyword_search.h"
#include "store/catalogue.h"
#include "store/dictionary_folder_choice.h"

#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace dict {

std::string dictionaryFolder(const Arguments& args) {
    if (auto folder = args.option("folder"))
        return *folder;
    // The program's own choice, so both work on the same files.
    store::DictionaryFolderChoice choice = store::chooseDictionaryFolder(
        store::runningExecutableFolder(), store::UserEnvironment::fromProcess());
    for (const std::string& problem : choice.problems)
        tellUser(stderr, problem);
    return choice.folder;
}

std::vector<std::string> catalogueNames(const std::string& folder) {
    store::CatalogueNames catalogue = store::readCatalogue(folder);
    if (!catalogue.problem.empty())
        throw std::runtime_error(catalogue.problem);
    return catalogue.names;
}

// The dictionaries a command reads: the one named, or every one of the catalogue.
std::vector<std::string> dictionaryScope(const Arguments& args, const std::string& folder) {
    if (auto name = args.option("dictionary"))
        return {*name};
    return catalogueNames(folder);
}

int runSearch(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"mode", "dictionary", "folder"});
    if (args.positionals().size() != 1)
        throw UsageError("search takes exactly one TERM");
    const std::string mode = args.option("mode").value_or("exact");
    if (mode != "exact" && mode != "wildcard")
        throw UsageError("--mode is exact or wildcard, not \"" + mode + "\"");
    const std::string folder = dictionaryFolder(args);

    std::string text;
    int status = kSuccess;
    try {
        OutputWriter found(text);
        lookup::searchKeywords(
            folder, dictionaryScope(args, folder),
            mode == "wildcard" ? lookup::SearchMode::Wildcard : lookup::SearchMode::Exact,
            args.positionals()[0],
            [&](std::string_view keyword) {
                found.put(keyword);
                found.put('\n');
            },
            [&](const std::string& reason) {
                tellUser(err, reason);
                status = kUnreadable;
            },
            nullptr); // one search per process: nothing worth keeping
        found.flush();
    } catch (const std::exception& error) {
        tellUser(err, folder + ": " + error.what());
        return kUnreadable;
    }
    OutputWriter output(out);
    output.put(text);
    return output.flush() ? status : cannotWriteOutput(err);
}

} // namespace dict
