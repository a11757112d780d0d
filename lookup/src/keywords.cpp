#include "lookup/keywords.h"

#include "store/program_files.h"
#include "store/record_walk.h"

#include <algorithm>

namespace lookup {

std::string trimSpaces(std::string_view text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string_view::npos)
        return {};
    const std::size_t last = text.find_last_not_of(' ');
    return std::string(text.substr(first, last - first + 1));
}

bool loadKeywords(const std::string& programFolder, const std::string& dictionaryName,
                  std::vector<std::string>& keywords, DictionaryCache* cache) {
    const std::string path = store::dictionaryPath(programFolder, dictionaryName);
    if (!cache) {
        // Collected apart, so a file that fails half-way adds nothing.
        std::vector<std::string> read;
        auto problem = store::walkRecords(path, {"Key"}, [&](const store::Record& record) {
            read.push_back(record[0]);
            return true;
        });
        if (problem)
            return false;
        keywords.insert(keywords.end(), std::make_move_iterator(read.begin()),
                        std::make_move_iterator(read.end()));
        return true;
    }
    DictionaryReading reading = cache->read(path, false);
    if (reading.problem)
        return false;
    const PackedTexts& keys = reading.content->keys;
    // Grown by doubling, so loading file after file stays linear.
    if (keywords.size() + keys.size() > keywords.capacity())
        keywords.reserve(std::max(keywords.size() + keys.size(), 2 * keywords.capacity()));
    for (std::size_t i = 0; i < keys.size(); ++i)
        keywords.emplace_back(keys[i]);
    return true;
}

std::vector<std::string> loadAllKeywords(const std::string& programFolder,
                                         const std::vector<std::string>& dictionaryNames,
                                         DictionaryCache* cache) {
    std::vector<std::string> keywords;
    for (const std::string& name : dictionaryNames)
        loadKeywords(programFolder, name, keywords, cache);
    return keywords;
}

} // namespace lookup
