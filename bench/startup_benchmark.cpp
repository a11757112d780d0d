// Start-up's share of the work: the catalogue and every keyword of 20 dictionaries of 5,000
// keywords each, from opening the files to a filled keyword-list model.
//   startup_benchmark [--benchmark_filter=...]
#include "app/keyword_list_model.h"
#include "augurlex-dict/program_files_build.h"
#include "lookup/dictionary_selection.h"
#include "store/program_files.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <string>
#include <unistd.h>

namespace {

constexpr int kDictionaries = 20;
constexpr int kKeywordsEach = 5000;

// Keywords of one to three made-up words, the same every run.
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

// A program folder with the catalogue and the dictionary files, made once per run with the code
// that builds the bundled dictionaries.
struct Folder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("augurlex-startup-bench-" + std::to_string(::getpid()));
    Folder() {
        std::filesystem::create_directories(path);
        const std::string root = path.string();
        const std::string templatePath = store::templatePath(root);
        dict::createTemplate(templatePath);
        std::mt19937 random(7);
        std::vector<std::string> names;
        for (int d = 0; d < kDictionaries; ++d) {
            names.push_back("Dictionary" + std::to_string(d + 1));
            std::string csv = "Key,Link\n";
            for (int k = 0; k < kKeywordsEach; ++k) {
                const std::string key = keyword(random);
                std::string link = "https://en.wikipedia.org/wiki/" + key;
                std::replace(link.begin(), link.end(), ' ', '_');
                csv += key + "," + link + "\n";
            }
            dict::writeDictionaryFile(templatePath, store::dictionaryPath(root, names.back()), csv,
                                      {{"names", names.back()}});
        }
        dict::writeCatalogue(store::cataloguePath(root), names);
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

const std::string& programFolder() {
    static const Folder folder;
    static const std::string root = folder.path.string();
    return root;
}

void CatalogueAndKeywords(benchmark::State& state) {
    const std::string& folder = programFolder();
    for (auto _ : state) {
        lookup::CatalogueContent content = lookup::LoadCatalogue(folder);
        benchmark::DoNotOptimize(content.keywords.data());
        if (content.keywords.size() != std::size_t{kDictionaries} * kKeywordsEach)
            state.SkipWithError("not every keyword was read");
    }
    state.SetItemsProcessed(state.iterations() * kDictionaries * kKeywordsEach);
}
BENCHMARK(CatalogueAndKeywords)->Unit(benchmark::kMillisecond);

void CatalogueAndKeywordsIntoTheListModel(benchmark::State& state) {
    const std::string& folder = programFolder();
    app::KeywordListModel model;
    for (auto _ : state) {
        model.SetKeywords(lookup::LoadCatalogue(folder).keywords);
        if (model.rowCount() != kDictionaries * kKeywordsEach)
            state.SkipWithError("not every keyword reached the list");
    }
    state.SetItemsProcessed(state.iterations() * kDictionaries * kKeywordsEach);
}
BENCHMARK(CatalogueAndKeywordsIntoTheListModel)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
