// Program folders and files of our own, made in a fresh (memory-backed) folder and read back with
// the engine alone, so no test checks the program's files with the program's own reader.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

using Record = std::pair<std::string, std::string>; // Key and Link
using Rows = std::vector<std::vector<std::string>>; // fields in the order of the columns

class DictionaryFolder {
public:
    DictionaryFolder();
    ~DictionaryFolder();
    DictionaryFolder(const DictionaryFolder&) = delete;
    DictionaryFolder& operator=(const DictionaryFolder&) = delete;

    std::string path() const { return folder_.string(); }
    std::string file(const std::string& name) const { return (folder_ / name).string(); }
    // The catalogue, listing the names in order (empty ones too).
    void writeCatalogue(const std::vector<std::string>& names) const;
    // The file of a dictionary (its name lowered + ".dll"), records in this order.
    void writeDictionary(const std::string& name, const std::vector<Record>& records) const;

private:
    std::filesystem::path folder_;
};

// Files in the program's layout and password; records in one session, or each in its own as a
// record-at-a-time writer leaves a file (pages filled before stay in the free-space map).
void writeDictionaryFile(const std::string& path, const Rows& namesKeyAndLink,
                         bool sessionPerRecord = false);
void writeCatalogueFile(const std::string& path, const Rows& namesAndDatabase);
// A catalogue listing the names, an empty template and an empty dictionary file per name.
void writeProgramFolder(const std::string& folder, const std::vector<std::string>& names);

// The records of table data, fields joined by tabs; "unreadable: why" for a file that is not.
std::vector<std::string> readRows(const std::string& path);
// readRows of every file of a folder but the hidden ones, by name.
std::map<std::string, std::vector<std::string>> folderContents(const std::string& folder);
void copyFolder(const std::string& from, const std::string& to);

} // namespace testing_support
