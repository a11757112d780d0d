#include "lookup/dictionary_selection.h"

#include "lookup/keywords.h"
#include "store/catalogue.h"
#include "store/program_files.h"
#include "text/utf8.h"

namespace lookup {

bool isAllScope(const std::string& selectorText) {
    return trimSpaces(selectorText) == kAllEntry;
}

CatalogueContent loadCatalogue(const std::string& programFolder, DictionaryCache* cache) {
    CatalogueContent content;
    content.dictionaryNames = store::readCatalogue(programFolder).names;
    for (const std::string& name : content.dictionaryNames)
        loadKeywords(programFolder, name, content.keywords, cache);
    return content;
}

SelectionOutcome reactToSelection(const std::string& programFolder,
                                  const std::vector<std::string>& dictionaryNames,
                                  const std::string& chosenText) {
    SelectionOutcome outcome;
    if (!store::catalogueExists(programFolder)) {
        outcome.missingDictionary = "";
        return outcome;
    }
    if (isAllScope(chosenText)) {
        // Every entry, untrimmed; loading stops at the first missing file, keeping what came
        // before it.
        outcome.replaceList = true;
        for (const std::string& entry : dictionaryNames) {
            const std::string name = text::utf8::toLower(entry);
            if (!store::dictionaryExists(programFolder, name)) {
                outcome.missingDictionary = name;
                break;
            }
            loadKeywords(programFolder, name, outcome.keywords);
        }
        return outcome;
    }
    const std::string name = text::utf8::toLower(trimSpaces(chosenText));
    if (!store::dictionaryExists(programFolder, name)) {
        outcome.missingDictionary = name;
        return outcome;
    }
    outcome.replaceList = true;
    loadKeywords(programFolder, name, outcome.keywords);
    return outcome;
}

std::string missingDictionaryMessage(const std::string& name) {
    return name + " Dictionary is missing\rPlease download " + name +
           " Dictionary Database\rOr Reinstall the Software";
}

} // namespace lookup
