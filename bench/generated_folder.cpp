#include "generated_folder.h"

#include "augurlex-dict/program_files_build.h"
#include "lookup/dictionary_cache.h"
#include "store/program_files.h"

#include <algorithm>
#include <chrono>
#include <random>
#include <thread>
#include <unistd.h>

namespace bench {

namespace {

// Keywords of one to three made-up words.
std::string keyword(std::mt19937& random) {
    static const char* const kSyllables[] = {"ka",  "lo",  "mi", "ra",  "the", "an", "cy",  "mo",
                                             "vel", "sha", "or", "ith", "ae",  "lu", "dra", "nor"};
    std::string text;
    const int words = 1 + static_cast<int>(random() % 3);
    for (int w = 0; w < words; ++w) {
        if (w > 0)
            text += ' ';
        const int syllables = 2 + static_cast<int>(random() % 3);
        for (int s = 0; s < syllables; ++s)
            text += kSyllables[random() % std::size(kSyllables)];
    }
    text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

} // namespace

GeneratedFolder::GeneratedFolder(const std::string& label, int dictionaries, int keywordsEach)
    : path_(std::filesystem::temp_directory_path() /
            ("augurlex-" + label + "-" + std::to_string(::getpid()))) {
    std::filesystem::create_directories(path_);
    const std::string root = path_.string();
    const std::string templatePath = store::templatePath(root);
    dict::createTemplate(templatePath);
    std::mt19937 random(7);
    for (int d = 0; d < dictionaries; ++d) {
        names_.push_back("Dictionary" + std::to_string(d + 1));
        std::string csv = "Key,Link\n";
        for (int k = 0; k < keywordsEach; ++k) {
            const std::string key = keyword(random);
            if (d == dictionaries - 1 && k == 0)
                lastFileKeyword_ = key;
            std::string link = "https://en.wikipedia.org/wiki/" + key;
            std::replace(link.begin(), link.end(), ' ', '_');
            csv += key + "," + link + "\n";
        }
        dict::writeDictionaryFile(templatePath, store::dictionaryPath(root, names_.back()), csv,
                                  {{"names", names_.back()}});
        keywords_ += static_cast<std::size_t>(keywordsEach);
    }
    dict::writeCatalogue(store::cataloguePath(root), names_);
}

GeneratedFolder::~GeneratedFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

const GeneratedFolder& millionKeywordFolder() {
    static const GeneratedFolder folder("million", 20, 50000);
    static const bool settled = [] {
        std::this_thread::sleep_for(
            std::chrono::nanoseconds(lookup::DictionaryCache::kUntrustedAfterChangeNs));
        return true;
    }();
    (void)settled;
    return folder;
}

} // namespace bench
