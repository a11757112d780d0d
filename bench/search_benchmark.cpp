// The lookup commands over a million keywords (20 dictionaries of 50,000) with "All" chosen, as
// the window runs them: files already decoded and unchanged since (one stat each per command),
// and, for comparison, the same searches reading every file afresh as a one-off search does;
// the search a keystroke would run, and the suggestions for a term that matches nothing, over
// one dictionary and over all.
//   search_benchmark [--benchmark_filter=...]
#include "generated_folder.h"
#include "lookup/keyword_search.h"
#include "lookup/lookup_commands.h"
#include "lookup/suggestions.h"

#include <benchmark/benchmark.h>

namespace {

// The window reduced to what the commands hand it.
class CountingView : public lookup::LookupView {
public:
    std::string typed;
    lookup::SearchMode chosenMode = lookup::SearchMode::Exact;
    std::vector<std::string> names;
    std::size_t shown = 0;
    std::string page;

    std::string searchText() const override { return typed; }
    std::string selectorText() const override { return "All"; }
    std::vector<std::string> dictionaryNames() const override { return names; }
    lookup::SearchMode mode() const override { return chosenMode; }
    std::size_t keywordCount() const override { return shown; }
    std::optional<std::string> selectedKeyword() const override { return std::nullopt; }
    void showKeywords(std::vector<std::string> keywords) override { shown = keywords.size(); }
    void setSearchText(const std::string&) override {}
    void showEnterTerm() override {}
    void showNotFound() override {}
    void showPage(const std::string& address) override { page = address; }
    void showBrowserWindow() override {}
    void navigate(const std::string&) override {}
    void siteSearch(const std::string&, const std::string&) override {}
    void focusSearchBox() override {}
};

// Runs one command repeatedly on a warm cache (the first run, outside the timing, decodes).
void command(benchmark::State& state, void (lookup::LookupCommands::*run)(),
             lookup::SearchMode mode, const std::string& text) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    lookup::DictionaryCache cache;
    CountingView view;
    view.names = folder.names();
    view.chosenMode = mode;
    view.typed = text;
    view.shown = 1; // a filled list, as after start-up
    lookup::LookupCommands commands({folder.path(), "https://home.test", &cache}, view);
    (commands.*run)();
    for (auto _ : state)
        (commands.*run)();
    state.counters["listed"] = static_cast<double>(view.shown);
    state.counters["cachedMiB"] = static_cast<double>(cache.bytes()) / (1 << 20);
}

void exactSearch(benchmark::State& state) {
    command(state, &lookup::LookupCommands::searchButton, lookup::SearchMode::Exact, "kalo");
}
void wildcardSearch(benchmark::State& state) {
    command(state, &lookup::LookupCommands::searchButton, lookup::SearchMode::Wildcard, "ra*the");
}
void displayInTheLastFile(benchmark::State& state) {
    command(state, &lookup::LookupCommands::displayButton, lookup::SearchMode::Exact,
            bench::millionKeywordFolder().lastFileKeyword());
}
void displayOfAMissingTerm(benchmark::State& state) {
    command(state, &lookup::LookupCommands::displayButton, lookup::SearchMode::Exact,
            "no such term");
}
void doubleClickInTheLastFile(benchmark::State& state) {
    command(state, &lookup::LookupCommands::keywordDoubleClick, lookup::SearchMode::Exact,
            bench::millionKeywordFolder().lastFileKeyword());
}

// The last dictionary alone, or every one.
std::vector<std::string> scope(bool everyDictionary) {
    const std::vector<std::string>& names = bench::millionKeywordFolder().names();
    return everyDictionary ? names : std::vector<std::string>{names.back()};
}

// A search over the scope, repeated.
void search(benchmark::State& state, lookup::SearchMode mode, const char* text,
            lookup::DictionaryCache* cache, const std::vector<std::string>& names = scope(true)) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        lookup::searchKeywords(
            folder.path(), names, mode, text, [&](std::string_view) { ++found; }, {}, cache);
    }
    state.counters["matches"] = static_cast<double>(found);
}

// What a keystroke runs when the list follows the typing: the search alone, on a warm cache.
void keystroke(benchmark::State& state, lookup::SearchMode mode, const char* text,
               bool everyDictionary) {
    lookup::DictionaryCache cache;
    const std::vector<std::string> names = scope(everyDictionary);
    lookup::searchKeywords(
        bench::millionKeywordFolder().path(), names, mode, text, [](std::string_view) {}, {},
        &cache);
    search(state, mode, text, &cache, names);
}
void exactKeystrokeInOne(benchmark::State& state) {
    keystroke(state, lookup::SearchMode::Exact, "kalo", false);
}
void exactKeystrokeInAll(benchmark::State& state) {
    keystroke(state, lookup::SearchMode::Exact, "kalo", true);
}
void wildcardKeystrokeInOne(benchmark::State& state) {
    keystroke(state, lookup::SearchMode::Wildcard, "ra*the", false);
}
void wildcardKeystrokeInAll(benchmark::State& state) {
    keystroke(state, lookup::SearchMode::Wildcard, "ra*the", true);
}

// The suggestions for a term no keyword holds (the last file's first keyword with a letter no
// keyword has in place of its second), on a warm cache or read straight as augurlex-dict does.
void suggestions(benchmark::State& state, bool everyDictionary, bool cached) {
    const bench::GeneratedFolder& folder = bench::millionKeywordFolder();
    std::string term = folder.lastFileKeyword();
    term[1] = 'q';
    lookup::DictionaryCache cache;
    lookup::DictionaryCache* through = cached ? &cache : nullptr;
    const std::string choice = everyDictionary ? "All" : folder.names().back();
    std::vector<std::string> found =
        lookup::suggestKeywords(folder.path(), folder.names(), term, choice, through);
    for (auto _ : state)
        found = lookup::suggestKeywords(folder.path(), folder.names(), term, choice, through);
    state.counters["suggested"] = static_cast<double>(found.size());
    state.SetLabel(term + " -> " + (found.empty() ? "nothing" : found.front()));
}
void suggestionsInOne(benchmark::State& state) {
    suggestions(state, false, true);
}
void suggestionsInAll(benchmark::State& state) {
    suggestions(state, true, true);
}
void suggestionsReadingEveryFile(benchmark::State& state) {
    suggestions(state, true, false);
}
void exactSearchReadingEveryFile(benchmark::State& state) {
    search(state, lookup::SearchMode::Exact, "kalo", nullptr);
}
void wildcardSearchReadingEveryFile(benchmark::State& state) {
    search(state, lookup::SearchMode::Wildcard, "ra*the", nullptr);
}
// What start-up or the first search after a change pays: decoding into the cache.
void exactSearchDecodingEveryFile(benchmark::State& state) {
    lookup::DictionaryCache keepsNothing(0, 0);
    search(state, lookup::SearchMode::Exact, "kalo", &keepsNothing);
}

} // namespace

BENCHMARK(exactSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(wildcardSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(displayInTheLastFile)->Unit(benchmark::kMillisecond);
BENCHMARK(displayOfAMissingTerm)->Unit(benchmark::kMillisecond);
BENCHMARK(doubleClickInTheLastFile)->Unit(benchmark::kMillisecond);
BENCHMARK(exactKeystrokeInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(exactKeystrokeInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(wildcardKeystrokeInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(wildcardKeystrokeInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsInOne)->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsInAll)->Unit(benchmark::kMillisecond);
BENCHMARK(suggestionsReadingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(exactSearchReadingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(wildcardSearchReadingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(exactSearchDecodingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
