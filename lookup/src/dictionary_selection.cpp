#include "lookup/dictionary_selection.h"

#include "lookup/keywords.h"
#include "store/catalogue.h"
#include "store/modDB.h"

namespace lookup {

CatalogueContent LoadCatalogue(const std::string& programFolder) {
    CatalogueContent content;
    content.dictionaryNames = store::ReadCatalogue(programFolder).names;
    for (const std::string& name : content.dictionaryNames)
        LoadKeywords(programFolder, name, content.keywords);
    return content;
}

SelectionOutcome ReactToSelection(const std::string& programFolder,
                                  const std::vector<std::string>& dictionaryNames,
                                  const std::string& chosenText) {
    SelectionOutcome outcome;
    if (!store::CatalogueExists(programFolder)) {
        outcome.missingDictionary = "";
        return outcome;
    }
    const std::string chosen = TrimSpaces(chosenText);
    if (chosen == kAllEntry) {
        // Every entry, untrimmed; loading stops at the first missing file, keeping what came
        // before it.
        outcome.replaceList = true;
        for (const std::string& entry : dictionaryNames) {
            const std::string name = modDB::LowerUtf8(entry);
            if (!store::DictionaryExists(programFolder, name)) {
                outcome.missingDictionary = name;
                break;
            }
            LoadKeywords(programFolder, name, outcome.keywords);
        }
        return outcome;
    }
    const std::string name = modDB::LowerUtf8(chosen);
    if (!store::DictionaryExists(programFolder, name)) {
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
