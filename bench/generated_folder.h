// A program folder of generated dictionaries for the benchmarks, made with the code that builds
// the bundled dictionaries, in a fresh folder under the system's temporary folder and removed
// at the end of the run.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace bench {

class GeneratedFolder {
public:
    // `dictionaries` files of `keywordsEach` keywords of one to three made-up words (the same
    // every run), links after the keywords, and the catalogue listing them.
    GeneratedFolder(const std::string& label, int dictionaries, int keywordsEach);
    ~GeneratedFolder();
    GeneratedFolder(const GeneratedFolder&) = delete;
    GeneratedFolder& operator=(const GeneratedFolder&) = delete;

    std::string path() const { return path_.string(); }
    const std::vector<std::string>& names() const { return names_; }
    std::size_t keywords() const { return keywords_; }
    // The first keyword of the last dictionary: a lookup that walks past every other file.
    const std::string& lastFileKeyword() const { return lastFileKeyword_; }

private:
    std::filesystem::path path_;
    std::vector<std::string> names_;
    std::size_t keywords_ = 0;
    std::string lastFileKeyword_;
};

// The million keywords of the figures: 20 dictionaries of 50,000, made once per run and left
// until every file is old enough for the cache of decoded dictionaries to trust it, as files
// installed before the program starts are.
const GeneratedFolder& millionKeywordFolder();

} // namespace bench
