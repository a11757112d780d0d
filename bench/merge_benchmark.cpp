// Merging an update of 10,000 rows (known and new dictionaries, one row in ten a duplicate) into
// 20 dictionaries of 5,000 rows: the merge beside the row-by-row merge it replaced, both on the
// same files on disk. Measures only; the tests check that both write the same.
#include "row_by_row_merge.h"
#include "store/modDB.h"
#include "update/merge.h"
#include "update_files.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using update_test::Record;

constexpr int kDictionaries = 20;
constexpr int kRowsPerDictionary = 5000;
constexpr int kUpdateRows = 10000;

std::string dictionaryName(int i) {
    return "Dictionary " + std::to_string(i);
}
std::string link(const std::string& name, int i) {
    return "https://example.org/" + modDB::LowerUtf8(name) + "/term-" + std::to_string(i);
}

// The program folder and the update file, made once per run, on disk.
struct Input {
    fs::path root =
        fs::temp_directory_path() / ("augurlex-merge-bench-" + std::to_string(getpid()));
    fs::path folder = root / "program";
    std::string updateFile = (root / "update.mdb").string();

    Input() {
        fs::create_directories(folder);
        std::vector<std::string> names;
        for (int d = 0; d < kDictionaries; ++d)
            names.push_back(dictionaryName(d));
        update_test::WriteProgramFolder(folder.string(), names);
        for (const std::string& name : names) {
            std::vector<Record> rows;
            for (int i = 0; i < kRowsPerDictionary; ++i)
                rows.push_back(
                    {modDB::LowerUtf8(name), "term " + std::to_string(i), link(name, i)});
            update_test::WriteDictionary(modDB::DictionaryPath(folder.string(), name), rows);
        }
        // Four rows in five go to known dictionaries, one to five new ones; one in ten repeats
        // an address already there.
        std::mt19937 random(7);
        std::vector<Record> update;
        for (int i = 0; i < kUpdateRows; ++i) {
            bool known = random() % 5 != 0;
            std::string name = known ? dictionaryName(random() % kDictionaries)
                                     : "New " + std::to_string(random() % 5);
            bool duplicate = random() % 10 == 0;
            int term = duplicate ? (known ? static_cast<int>(random() % kRowsPerDictionary)
                                          : std::max(0, i - 1 - static_cast<int>(random() % 50)))
                                 : kRowsPerDictionary + i;
            update.push_back({name, "new term " + std::to_string(i), link(name, term)});
        }
        update_test::WriteDictionary(updateFile, update);
    }
    ~Input() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

Input& input() {
    static Input made;
    return made;
}

template <class Merge> void runOnCopies(benchmark::State& state, Merge merge) {
    Input& in = input();
    const fs::path work = in.root / "work";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(work);
        fs::copy(in.folder, work);
        state.ResumeTiming();
        merge(in.updateFile, work.string());
    }
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kUpdateRows),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}

void BM_Merge(benchmark::State& state) {
    runOnCopies(state, [&](const std::string& updateFile, const std::string& folder) {
        update::MergeReport report = update::MergeUpdateFile(updateFile, folder);
        if (!report.succeeded())
            state.SkipWithError(report.failures.front().reason.c_str());
        state.counters["added"] = static_cast<double>(report.added);
        state.counters["duplicates"] = static_cast<double>(report.duplicates);
    });
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_RowByRowMerge(benchmark::State& state) {
    runOnCopies(state, [](const std::string& updateFile, const std::string& folder) {
        update_reference::RowByRowMerge(updateFile, folder);
    });
}
BENCHMARK(BM_RowByRowMerge)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
