#include "store/program_files.h"

#include "text/utf8.h"

#include <filesystem>
#include <system_error>

namespace store {

namespace {

bool isOrdinaryFile(const std::string& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

std::string dictionaryFileName(const std::string& dictionaryName) {
    return text::utf8::toLower(dictionaryName) + ".dll";
}

std::string cataloguePath(const std::string& programFolder) {
    return programFolder + "/" + kCatalogueFileName;
}

std::string dictionaryPath(const std::string& programFolder, const std::string& dictionaryName) {
    return programFolder + "/" + dictionaryFileName(dictionaryName);
}

std::string templatePath(const std::string& programFolder) {
    return programFolder + "/" + kTemplateFileName;
}

bool catalogueExists(const std::string& programFolder) {
    return isOrdinaryFile(cataloguePath(programFolder));
}

bool dictionaryExists(const std::string& programFolder, const std::string& dictionaryName) {
    return isOrdinaryFile(dictionaryPath(programFolder, dictionaryName));
}

} // namespace store
