// augurlex-dict lookup TERM [--dictionary NAME] [--folder DIR]
#include "augurlex-dict/arguments.h"
#include "augurlex-dict/commands.h"
#include "augurlex-dict/messages.h"
#include "lookup/dictionary_selection.h"
#include "lookup/find_link.h"
#include "lookup/keywords.h"
#include "lookup/suggestions.h"
#include "store/program_files.h"

#include <stdexcept>
#include <string>

namespace dict {

int runLookup(const std::vector<std::string>& words, std::FILE* out, std::FILE* err) {
    Arguments args = Arguments::parse(words, {"dictionary", "folder"});
    if (args.positionals().size() != 1)
        throw UsageError("lookup takes exactly one TERM");
    const std::string folder = dictionaryFolder(args);
    const std::string term = lookup::trimSpaces(args.positionals()[0]);
    const std::string choice = args.option("dictionary").value_or(lookup::kAllEntry);

    std::string link = term;
    bool found = false;
    std::vector<std::string> suggestions;
    try {
        std::vector<std::string> names;
        if (lookup::isAllScope(choice))
            names = catalogueNames(folder);
        else if (!store::dictionaryExists(folder, choice))
            throw std::runtime_error("no file " + store::dictionaryPath(folder, choice));
        // One lookup per process: read straight, stopping at the first match.
        found = lookup::findLink(folder, names, term, choice, link, nullptr);
        if (!found)
            suggestions = lookup::suggestKeywords(folder, names, term, choice, nullptr);
    } catch (const std::exception& error) {
        tellUser(err, folder + ": " + error.what());
        return kUnreadable;
    }
    if (!found) {
        std::string message = "\"" + term + "\" is in no dictionary (" + choice + ")";
        for (std::size_t i = 0; i < suggestions.size(); ++i)
            message += (i == 0 ? "; did you mean: " : ", ") + suggestions[i];
        tellUser(err, message + (suggestions.empty() ? "" : "?"));
        return kFailure;
    }
    std::fprintf(out, "%s\n", link.c_str());
    // Not kFailure: that says the term was not found.
    return std::fflush(out) == 0 && !std::ferror(out) ? kSuccess : cannotWriteOutput(err);
}

} // namespace dict
