#include "lookup/dictionary_selection.h"

#include "jet/utf8.h"
#include "lookup/keywords.h"
#include "store/catalogue.h"
#include "store/program_files.h"

namespace lookup {

bool IsAllScope(const std::string& selectorText) {
    return TrimSpaces(selectorText) == kAllEntry;
}

CatalogueContent LoadCatalogue(const std::string& programFolder, DictionaryCache* cache) {
    CatalogueContent content;
    content.dictionaryNames = store::readCatalogue(programFolder).names;
    for (const std::string& name : content.dictionaryNames)
        LoadKeywords(programFolder, name, content.keywords, cache);
    return content;
}

SelectionOutcome ReactToSelection(const std::string& programFolder,
                                  const std::vector<std::string>& dictionaryNames,
                                  const std::string& chosenText) {
    SelectionOutcome outcome;
    if (!store::catalogueExists(programFolder)) {
        outcome.missingDictionary = "";
        return outcome;
    }
    if (IsAllScope(chosenText)) {
        // Every entry, untrimmed; loading stops at the first missing file, keeping what came
        // before it.
        outcome.replaceList = true;
        for (const std::string& entry : dictionaryNames) {
            const std::string name = jet::utf8::toLower(entry);
            if (!store::dictionaryExists(programFolder, name)) {
                outcome.missingDictionary = name;
                break;
            }
            LoadKeywords(programFolder, name, outcome.keywords);
        }
        return outcome;
    }
    const std::string name = jet::utf8::toLower(TrimSpaces(chosenText));
    if (!store::dictionaryExists(programFolder, name)) {
        outcome.missingDictionary = name;
        return outcome;
    }
    outcome.replaceList = true;
    LoadKeywords(programFolder, name, outcome.keywords);
    return outcome;
}

std::string MissingDictionaryMessage(const std::string& name) {
    return name + " Dictionary is missing\rPlease download " + name +
           " Dictionary Database\rOr Reinstall the Software";
}

} // namespace lookup
