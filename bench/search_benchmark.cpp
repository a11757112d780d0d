// Exact and wildcard searches over every dictionary (20 files of 5,000 keywords), each search
// opening its files afresh, as the Search button does under "All".
#include "augurlex-dict/program_files_build.h"
#include "lookup/keyword_search.h"
#include "store/program_files.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <unistd.h>

namespace {

constexpr int kDictionaries = 20;

std::string dictionaryName(int d) {
    return "Dictionary" + std::to_string(d);
}

// The program folder, made once per run with the code that builds the bundled dictionaries.
struct Folder {
    std::filesystem::path path = std::filesystem::temp_directory_path() /
                                 ("augurlex-search-bench-" + std::to_string(::getpid()));
    Folder() {
        std::filesystem::create_directories(path);
        const std::string templatePath = store::templatePath(path.string());
        dict::createTemplate(templatePath);
        for (int d = 0; d < kDictionaries; ++d) {
            std::string csv = "Key,Link\n";
            for (int k = 0; k < 5000; ++k)
                csv += "Keyword " + std::to_string(d) + "-" + std::to_string(k) +
                       (k % 7 == 0 ? " oracle" : " augury") + ",https://example.org/" +
                       std::to_string(k) + "\n";
            dict::writeDictionaryFile(templatePath,
                                      store::dictionaryPath(path.string(), dictionaryName(d)), csv);
        }
    }
    ~Folder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

void search(benchmark::State& state, lookup::SearchMode mode, const char* text) {
    static const Folder folder;
    std::vector<std::string> dictionaries;
    for (int d = 0; d < kDictionaries; ++d)
        dictionaries.push_back(dictionaryName(d));
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        lookup::SearchKeywords(folder.path.string(), dictionaries, mode, text,
                               [&](const std::string&) { ++found; });
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found);
}

void ExactSearch(benchmark::State& state) {
    search(state, lookup::SearchMode::Exact, "keyword 1");
}
void WildcardSearch(benchmark::State& state) {
    search(state, lookup::SearchMode::Wildcard, "or*cle");
}

} // namespace

BENCHMARK(ExactSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(WildcardSearch)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
