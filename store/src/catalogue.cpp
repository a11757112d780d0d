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
        modDB::WalkRecords(path, [&](const Recordset& rs) {
            std::string name = rs.Fields("names");
            if (!name.empty())
                result.names.push_back(std::move(name));
            return true;
        });
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
