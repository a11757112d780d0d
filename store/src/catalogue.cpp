#include "store/catalogue.h"

#include "store/modDB.h"

#include <exception>
#include <filesystem>
#include <system_error>

namespace store {

namespace {

bool isOrdinaryFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

CatalogueNames ReadCatalogue(const std::string& programFolder) {
    CatalogueNames result;
    const std::string path = modDB::CataloguePath(programFolder);
    try {
        Connection db;
        modDB::OpenConnection(db, path);
        Recordset rs;
        modDB::OpenRecordset(rs, db, modDB::kQuery);
        const std::int64_t count = rs.RecordCount();
        if (count == 0)
            return result;
        rs.MoveFirst();
        for (std::int64_t i = 0; i < count; ++i) {
            std::string name = rs.Fields("names");
            if (!name.empty())
                result.names.push_back(std::move(name));
            rs.MoveNext();
        }
    } catch (const std::exception& error) {
        result.error = path + ": " + error.what();
    }
    return result;
}

bool CatalogueExists(const std::string& programFolder) {
    return isOrdinaryFile(modDB::CataloguePath(programFolder));
}

bool DictionaryExists(const std::string& programFolder, const std::string& dictionaryName) {
    return isOrdinaryFile(modDB::DictionaryPath(programFolder, dictionaryName));
}

} // namespace store
