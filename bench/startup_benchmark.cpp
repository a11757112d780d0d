// Start-up's share of the work: the catalogue and every keyword of 20 dictionaries of 5,000
// keywords each, from opening the files to a filled keyword-list model.
//   startup_benchmark [--benchmark_filter=...]
#include "jet/create.h"
#include "jet/write_session.h"
#include "keyword_list_model.h"
#include "lookup/dictionary_selection.h"
#include "store/modDB.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <string>

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

jet::TableSpec dataTable(std::vector<std::string> columns) {
    jet::TableSpec table{modDB::kDataTable, {}};
    for (std::string& column : columns)
        table.columns.push_back(jet::ColumnSpec{std::move(column)});
    return table;
}

jet::CreateOptions withPassword() {
    jet::CreateOptions options;
    options.password = modDB::kDatabasePassword;
    return options;
}

// A program folder with the catalogue and the dictionary files, made once per run.
const std::string& programFolder() {
    static const std::string folder = [] {
        const auto path = std::filesystem::temp_directory_path() / "augurlex-startup-benchmark";
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        const std::string root = path.string();
        std::mt19937 random(7);
        jet::createDatabase(modDB::CataloguePath(root), {dataTable({"names", "Database"})},
                            withPassword());
        jet::WriteSession catalogue =
            jet::WriteSession::open(modDB::CataloguePath(root), modDB::kDatabasePassword);
        for (int d = 0; d < kDictionaries; ++d) {
            const std::string name = "Dictionary" + std::to_string(d + 1);
            catalogue.appendRow(modDB::kDataTable,
                                {{"names", name}, {"Database", modDB::LowerUtf8(name) + ".dll"}});
            const std::string file = modDB::DictionaryPath(root, name);
            jet::createDatabase(file, {dataTable({"names", "Key", "Link"})}, withPassword());
            jet::WriteSession dictionary = jet::WriteSession::open(file, modDB::kDatabasePassword);
            for (int k = 0; k < kKeywordsEach; ++k) {
                std::string key = keyword(random);
                std::string link = "https://en.wikipedia.org/wiki/" + key;
                std::replace(link.begin(), link.end(), ' ', '_');
                dictionary.appendRow(modDB::kDataTable, {{"names", modDB::LowerUtf8(name)},
                                                         {"Key", std::move(key)},
                                                         {"Link", std::move(link)}});
            }
            dictionary.commit();
        }
        catalogue.commit();
        return root;
    }();
    return folder;
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
    augurlex::KeywordListModel model;
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
