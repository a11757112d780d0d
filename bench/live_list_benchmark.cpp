// A keystroke with the keyword list following the typing, over a million keywords (20
// dictionaries of 50,000) decoded once, as the window runs it: the live filter (off the
// user-interface thread), then the list model taking its result (on it); one dictionary and
// all, exact and wildcard, and a term that matches nothing, which brings suggestions. A
// keystroke after the text's last letter but one narrows that text's matches (the usual case);
// the first letter, or a text pasted in, scans every keyword ("fresh"). Also the list model
// taking every keyword, as start-up and an emptied search box do.
//   live_list_benchmark [--benchmark_filter=...]
#include "app/keyword_list_model.h"
#include "generated_folder.h"
#include "lookup/dictionary_selection.h"
#include "lookup/live_search.h"

#include <benchmark/benchmark.h>

namespace {

using lookup::SearchMode;

void keystroke(benchmark::State& state, SearchMode mode, std::string text, bool everyDictionary,
               bool fresh = false) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    if (text.empty()) { // the last file's first keyword, a letter no keyword has in its place
        text = folder.lastFileKeyword();
        text[1] = 'q';
    }
    const std::string before = text.substr(0, text.size() - 1);
    lookup::DictionaryCache cache;
    const std::string choice = everyDictionary ? "All" : folder.names().back();
    lookup::LiveSearch(&cache).next(folder.path(), folder.names(), mode, text, choice);
    app::KeywordListModel model;
    std::size_t listed = 0;
    bool suggestions = false;
    for (auto _ : state) {
        state.PauseTiming();
        lookup::LiveSearch search(&cache);
        if (!fresh)
            search.next(folder.path(), folder.names(), mode, before, choice);
        state.ResumeTiming();
        lookup::LiveKeywords live = search.next(folder.path(), folder.names(), mode, text, choice);
        suggestions = live.suggestions;
        model.setKeywords(std::move(live.keywords), live.suggestions);
        listed = static_cast<std::size_t>(model.rowCount());
    }
    state.counters["listed"] = static_cast<double>(listed);
    state.SetLabel(text + (suggestions ? " (suggestions)" : ""));
}

void exactInOne(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "kalo", false);
}
void exactInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "kalo", true);
}
void oneLetterInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "k", true);
}
void freshExactInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "kalo", true, true);
}
void freshWildcardInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Wildcard, "ra*the", true, true);
}
void wildcardInOne(benchmark::State& state) {
    keystroke(state, SearchMode::Wildcard, "ra*the", false);
}
void wildcardInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Wildcard, "ra*the", true);
}
void oneLetterWildcardInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Wildcard, "a", true);
}
void missWithSuggestionsInOne(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "", false);
}
void missWithSuggestionsInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "", true);
}
void freshMissWithSuggestionsInAll(benchmark::State& state) {
    keystroke(state, SearchMode::Exact, "", true, true);
}

// Every keyword into the model: the cache's own keys, no copy.
void everyKeywordIntoTheModel(benchmark::State& state) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    lookup::DictionaryCache cache;
    lookup::loadKeywordRows(folder.path(), folder.names(), &cache);
    app::KeywordListModel model;
    for (auto _ : state)
        model.setKeywords(lookup::loadKeywordRows(folder.path(), folder.names(), &cache));
    state.counters["listed"] = static_cast<double>(model.rowCount());
}

} // namespace

BENCHMARK(exactInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(exactInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(oneLetterInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(wildcardInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(wildcardInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(oneLetterWildcardInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(missWithSuggestionsInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(missWithSuggestionsInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(freshExactInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(freshWildcardInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(freshMissWithSuggestionsInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(everyKeywordIntoTheModel)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
