// The database files in the program folder: where each one is, and the password all of them
// carry (update files too).
#pragma once

#include <string>

namespace store {

inline constexpr const char* kDatabasePassword = "K8Wum2qTx7vRb4Lpe9";
// The one table every file holds.
inline constexpr const char* kDataTable = "data";

// The file names: the catalogue's and the template's, and a dictionary's, which is its name
// lower-cased (all of Unicode), not trimmed, followed by ".dll".
inline constexpr const char* kCatalogueFileName = "divination.dll";
inline constexpr const char* kTemplateFileName = "clone.dll";
std::string dictionaryFileName(const std::string& dictionaryName);

// Each path is the folder, "/" and the file name, joined as they are: a folder that already
// ends in "/" gives two in a row.
std::string cataloguePath(const std::string& programFolder);
std::string dictionaryPath(const std::string& programFolder, const std::string& dictionaryName);
std::string templatePath(const std::string& programFolder);

// Whether the file is there as an ordinary file (a folder of that name is not).
bool catalogueExists(const std::string& programFolder);
bool dictionaryExists(const std::string& programFolder, const std::string& dictionaryName);

} // namespace store
