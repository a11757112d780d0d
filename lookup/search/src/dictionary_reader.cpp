#include "lookup/search/dictionary_reader.h"

#include "lookup/search/matching.h"
#include "store/modDB.h"

namespace lookup::search {

namespace {

template <class Visit> void walkTable(const std::string& path, Visit&& visit) {
    Connection connection;
    modDB::OpenConnection(connection, path);
    Recordset records;
    modDB::OpenRecordset(records, connection, modDB::kQuery);
    const std::int64_t count = records.RecordCount();
    if (count == 0)
        return;
    records.MoveFirst();
    for (std::int64_t i = 0; i < count && !records.IsEOF(); ++i) {
        if (!visit(records))
            return;
        records.MoveNext();
    }
}

} // namespace

std::optional<std::string> WalkDictionary(const std::string& programFolder,
                                          const std::string& dictionaryName,
                                          const RecordVisitor& visit) {
    const std::string path = modDB::DictionaryPath(programFolder, dictionaryName);
    try {
        walkTable(path, [&](const Recordset& records) {
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
        walkTable(path, [&](const Recordset& records) {
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
