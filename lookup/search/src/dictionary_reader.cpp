#include "lookup/search/dictionary_reader.h"

#include "lookup/search/matching.h"
#include "store/modDB.h"

namespace lookup::search {

std::optional<std::string> WalkDictionary(const std::string& programFolder,
                                          const std::string& dictionaryName,
                                          const RecordVisitor& visit) {
    const std::string path = modDB::DictionaryPath(programFolder, dictionaryName);
    try {
        modDB::WalkRecords(path, [&](const Recordset& records) {
            return visit(records.Fields("Key"), records.Fields("Link"));
        });
    } catch (const std::exception& error) {
        return path + ": " + error.what();
    }
    return std::nullopt;
}

std::optional<std::string> WalkKeys(const std::string& programFolder,
                                    const std::string& dictionaryName,
                                    const std::function<void(const std::string& key)>& visit) {
    const std::string path = modDB::DictionaryPath(programFolder, dictionaryName);
    try {
        modDB::WalkRecords(path, [&](const Recordset& records) {
            visit(records.Fields("Key"));
            return true;
        });
    } catch (const std::exception& error) {
        return path + ": " + error.what();
    }
    return std::nullopt;
}

bool IsAllScope(const std::string& selectorText) {
    return TrimSpaces(selectorText) == kAllDictionaries;
}

} // namespace lookup::search
