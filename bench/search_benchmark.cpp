// Exact and wildcard searches over every dictionary (20 files of 5,000 keywords), each search
// opening its files afresh, as the Search button does under "All".
#include "dictionary_folder.h"
#include "lookup/search/keyword_search.h"

#include <benchmark/benchmark.h>

namespace {

const testing_support::DictionaryFolder& folder() {
    static testing_support::DictionaryFolder made;
    static bool written = [] {
        for (int d = 0; d < 20; ++d) {
            std::vector<testing_support::Record> records;
            for (int k = 0; k < 5000; ++k) {
                std::string key = "Keyword " + std::to_string(d) + "-" + std::to_string(k) +
                                  (k % 7 == 0 ? " oracle" : " augury");
                records.push_back({key, "https://example.org/" + std::to_string(k)});
            }
            made.writeDictionary("Dictionary" + std::to_string(d), records);
        }
        return true;
    }();
    (void)written;
    return made;
}

std::vector<std::string> names() {
    std::vector<std::string> all;
    for (int d = 0; d < 20; ++d)
        all.push_back("Dictionary" + std::to_string(d));
    return all;
}

void search(benchmark::State& state, lookup::search::SearchMode mode, const char* text) {
    const std::string path = folder().path();
    const std::vector<std::string> dictionaries = names();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        lookup::search::SearchKeywords(path, dictionaries, mode, text,
                                       [&](const std::string&) { ++found; });
        benchmark::DoNotOptimize(found);
    }
    state.counters["matches"] = static_cast<double>(found);
}

void ExactSearch(benchmark::State& state) {
    search(state, lookup::search::SearchMode::Exact, "keyword 1");
}
void WildcardSearch(benchmark::State& state) {
    search(state, lookup::search::SearchMode::Wildcard, "or*cle");
}

} // namespace

BENCHMARK(ExactSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(WildcardSearch)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
