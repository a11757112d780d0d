// The lookup commands over a million keywords (20 dictionaries of 50,000) with "All" chosen, as
// the window runs them: files already decoded and unchanged since (one stat each per command),
// and, for comparison, the same searches reading every file afresh as a one-off search does.
//   search_benchmark [--benchmark_filter=...]
#include "generated_folder.h"
#include "lookup/keyword_search.h"
#include "lookup/lookup_commands.h"

#include <benchmark/benchmark.h>

namespace {

// The window reduced to what the commands hand it.
class CountingView : public lookup::LookupView {
public:
    std::string searchText;
    lookup::SearchMode mode = lookup::SearchMode::Exact;
    std::vector<std::string> names;
    std::size_t shown = 0;
    std::string page;

    std::string SearchText() const override { return searchText; }
    std::string SelectorText() const override { return "All"; }
    std::vector<std::string> DictionaryNames() const override { return names; }
    lookup::SearchMode Mode() const override { return mode; }
    std::size_t KeywordCount() const override { return shown; }
    std::optional<std::string> SelectedKeyword() const override { return std::nullopt; }
    void ShowKeywords(std::vector<std::string> keywords) override { shown = keywords.size(); }
    void SetSearchText(const std::string&) override {}
    void ShowEnterTerm() override {}
    void ShowNotFound() override {}
    void ShowPage(const std::string& address) override { page = address; }
    void ShowBrowserWindow() override {}
    void Navigate(const std::string&) override {}
    void SiteSearch(const std::string&, const std::string&) override {}
    void FocusSearchBox() override {}
};

const bench::GeneratedFolder& settledFolder() {
    static const bench::GeneratedFolder& folder = []() -> const bench::GeneratedFolder& {
        const bench::GeneratedFolder& made = bench::MillionKeywordFolder();
        made.waitUntilSettled();
        return made;
    }();
    return folder;
}

// Runs one command repeatedly on a warm cache (the first run, outside the timing, decodes).
void command(benchmark::State& state, void (lookup::LookupCommands::*run)(),
             lookup::SearchMode mode, const std::string& text) {
    const bench::GeneratedFolder& folder = settledFolder();
    lookup::DictionaryCache cache;
    CountingView view;
    view.names = folder.names();
    view.mode = mode;
    view.searchText = text;
    view.shown = 1; // a filled list, as after start-up
    lookup::LookupCommands commands({folder.path(), "https://home.test", &cache}, view);
    (commands.*run)();
    for (auto _ : state)
        (commands.*run)();
    state.counters["listed"] = static_cast<double>(view.shown);
    state.counters["cachedMiB"] = static_cast<double>(cache.Bytes()) / (1 << 20);
}

void ExactSearch(benchmark::State& state) {
    command(state, &lookup::LookupCommands::SearchButton, lookup::SearchMode::Exact, "kalo");
}
void WildcardSearch(benchmark::State& state) {
    command(state, &lookup::LookupCommands::SearchButton, lookup::SearchMode::Wildcard, "ra*the");
}
void DisplayInTheLastFile(benchmark::State& state) {
    command(state, &lookup::LookupCommands::DisplayButton, lookup::SearchMode::Exact,
            settledFolder().lastFileKeyword());
}
void DisplayOfAMissingTerm(benchmark::State& state) {
    command(state, &lookup::LookupCommands::DisplayButton, lookup::SearchMode::Exact,
            "no such term");
}
void DoubleClickInTheLastFile(benchmark::State& state) {
    command(state, &lookup::LookupCommands::KeywordDoubleClick, lookup::SearchMode::Exact,
            settledFolder().lastFileKeyword());
}

// A one-off search: every file walked, nothing kept.
void search(benchmark::State& state, lookup::SearchMode mode, const char* text,
            lookup::DictionaryCache* cache) {
    const bench::GeneratedFolder& folder = settledFolder();
    std::size_t found = 0;
    for (auto _ : state) {
        found = 0;
        lookup::SearchKeywords(
            folder.path(), folder.names(), mode, text, [&](std::string_view) { ++found; }, {},
            cache);
    }
    state.counters["matches"] = static_cast<double>(found);
}
void ExactSearchReadingEveryFile(benchmark::State& state) {
    search(state, lookup::SearchMode::Exact, "kalo", nullptr);
}
void WildcardSearchReadingEveryFile(benchmark::State& state) {
    search(state, lookup::SearchMode::Wildcard, "ra*the", nullptr);
}
// What start-up or the first search after a change pays: decoding into the cache.
void ExactSearchDecodingEveryFile(benchmark::State& state) {
    lookup::DictionaryCache keepsNothing(0, 0);
    search(state, lookup::SearchMode::Exact, "kalo", &keepsNothing);
}

} // namespace

BENCHMARK(ExactSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(WildcardSearch)->Unit(benchmark::kMillisecond);
BENCHMARK(DisplayInTheLastFile)->Unit(benchmark::kMillisecond);
BENCHMARK(DisplayOfAMissingTerm)->Unit(benchmark::kMillisecond);
BENCHMARK(DoubleClickInTheLastFile)->Unit(benchmark::kMillisecond);
BENCHMARK(ExactSearchReadingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(WildcardSearchReadingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(ExactSearchDecodingEveryFile)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_MAIN();
