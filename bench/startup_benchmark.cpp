// Start-up's share of the work over a million keywords (20 dictionaries of 50,000): the
// catalogue and every keyword, from opening the files to a filled keyword-list model, with
// nothing decoded before (as at the start of the process).
//   startup_benchmark [--benchmark_filter=...]
#include "app/keyword_list_model.h"
#include "generated_folder.h"
#include "lookup/dictionary_selection.h"

#include <benchmark/benchmark.h>
#include <optional>

namespace {

// Each run starts from an empty cache; emptying the one before is not timed.
class FreshCache {
public:
    lookup::DictionaryCache* get(benchmark::State& state) {
        state.PauseTiming();
        cache_.reset();
        cache_.emplace();
        state.ResumeTiming();
        return &*cache_;
    }

private:
    std::optional<lookup::DictionaryCache> cache_;
};

void catalogueAndKeywords(benchmark::State& state) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    FreshCache cache;
    for (auto _ : state) {
        lookup::CatalogueContent content = lookup::loadCatalogue(folder.path(), cache.get(state));
        if (content.keywords.size() != folder.keywords())
            state.SkipWithError("not every keyword was read");
        state.PauseTiming(); // freeing the keywords is not start-up's work
        content = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.keywords()));
}
BENCHMARK(catalogueAndKeywords)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same load with nothing kept for the searches after it.
void catalogueAndKeywordsWithoutTheCache(benchmark::State& state) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    for (auto _ : state) {
        lookup::CatalogueContent content = lookup::loadCatalogue(folder.path(), nullptr);
        if (content.keywords.size() != folder.keywords())
            state.SkipWithError("not every keyword was read");
        state.PauseTiming();
        content = {};
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.keywords()));
}
BENCHMARK(catalogueAndKeywordsWithoutTheCache)->Unit(benchmark::kMillisecond)->Iterations(3);

void catalogueAndKeywordsIntoTheListModel(benchmark::State& state) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    FreshCache cache;
    app::KeywordListModel model;
    for (auto _ : state) {
        model.setKeywords(lookup::loadCatalogue(folder.path(), cache.get(state)).keywords);
        if (static_cast<std::size_t>(model.rowCount()) != folder.keywords())
            state.SkipWithError("not every keyword reached the list");
        state.PauseTiming(); // at start-up the list is empty before
        model.setKeywords(lookup::KeywordRows());
        state.ResumeTiming();
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(folder.keywords()));
}
BENCHMARK(catalogueAndKeywordsIntoTheListModel)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
