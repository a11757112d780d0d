// A program folder of our own for tests and benchmarks: a catalogue and dictionary files made
// with the engine, in a fresh temporary folder removed at the end.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace testing_support {

// Key and Link of one record.
using Record = std::pair<std::string, std::string>;

class DictionaryFolder {
public:
    DictionaryFolder();
    ~DictionaryFolder();
    DictionaryFolder(const DictionaryFolder&) = delete;
    DictionaryFolder& operator=(const DictionaryFolder&) = delete;

    std::string path() const { return folder_.string(); }
    // The catalogue, its names in order (empty names are stored as they are).
    void writeCatalogue(const std::vector<std::string>& names) const;
    // The file of a dictionary (its name lowered + ".dll"), records in this order.
    void writeDictionary(const std::string& name, const std::vector<Record>& records) const;

private:
    std::filesystem::path folder_;
};

} // namespace testing_support
