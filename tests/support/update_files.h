// Program folders and update files for the merge tests: made with the engine, read back whole.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace update_test {

struct Record {
    std::string names, key, link;
    bool operator==(const Record&) const = default;
};
struct CatalogueRecord {
    std::string names, database;
    bool operator==(const CatalogueRecord&) const = default;
};

// A fresh, empty folder under the system's temporary folder, removed with the object.
class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& label);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return path_.string(); }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

// Files in the layout of the program's, with its database password. Rows are appended in one
// session, or each in a session of its own (as a record-at-a-time writer leaves a file: pages
// filled by earlier sessions stay in the free-space map).
void WriteDictionary(const std::string& path, const std::vector<Record>& records,
                     bool sessionPerRow = false);
void WriteCatalogue(const std::string& path, const std::vector<CatalogueRecord>& records);
// A catalogue listing `names`, with an empty template and one dictionary file per name.
void WriteProgramFolder(const std::string& folder, const std::vector<std::string>& names);

std::vector<Record> ReadDictionary(const std::string& path);
std::vector<CatalogueRecord> ReadCatalogue(const std::string& path);

// Every file of a folder by name, as the rows of its table data in the file's order (one line
// per row, fields separated by a tab); hidden scratch files are left out.
std::map<std::string, std::vector<std::string>> FolderContents(const std::filesystem::path& folder);

void CopyFolder(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace update_test
