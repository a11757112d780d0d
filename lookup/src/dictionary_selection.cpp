#include "lookup/dictionary_selection.h"

#include "dictionary_walk.h"
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
    content.keywords = loadKeywordRows(programFolder, content.dictionaryNames, cache);
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
    if (!loadKeywords(programFolder, name, outcome.keywords)) {
        outcome.keywords.clear();
        outcome.unreadableDictionary = dictionaryStatus(programFolder, trimSpaces(chosenText));
        return outcome;
    }
    outcome.replaceList = true;
    return outcome;
}

std::string missingDictionaryMessage(const std::string& name) {
    return name + " Dictionary is missing\rPlease download " + name +
           " Dictionary Database\rOr Reinstall the Software";
}

DictionaryStatus dictionaryStatus(const std::string& programFolder,
                                  const std::string& dictionaryName, DictionaryCache* cache) {
    DictionaryStatus status;
    status.name = dictionaryName;
    status.path = store::dictionaryPath(programFolder, dictionaryName);
    std::optional<std::string> problem =
        walkMatches(status.path, KeywordMatcher::everyKeyword(), false, cache,
                    [&status](std::string_view, std::string_view) {
                        ++status.keywordCount;
                        return true;
                    });
    if (problem) {
        status.keywordCount = 0;
        status.problem = store::diagnoseFile(status.path);
        status.reason = std::move(*problem);
    }
    return status;
}

std::string unreadableDictionaryMessage(const DictionaryStatus& status) {
    const std::string name = text::utf8::toLower(status.name);
    return status.name + " Dictionary cannot be read: " +
           store::describeProblem(status.problem.value_or(store::FileProblem::Damaged)) + "\r" +
           status.reason + "\rPlease download " + name +
           " Dictionary Database\rOr Reinstall the Software";
}

} // namespace lookup
