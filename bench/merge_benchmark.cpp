// Merging an update of 10,000 rows (known and new dictionaries, one row in ten a duplicate) into
// 20 dictionaries of 5,000 rows, and 10,000 rows into one dictionary of a million, on copies of
// the same files on disk. Measures only; the tests check what the merge writes.
#include "augurlex-dict/program_files_build.h"
#include "store/program_files.h"
#include "text/utf8.h"
#include "update/merge.h"
#include "update/merge_report.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <random>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;

constexpr int kDictionaries = 20;
constexpr int kRowsPerDictionary = 5000;
constexpr int kUpdateRows = 10000;

std::string dictionaryName(int i) {
    return "Dictionary " + std::to_string(i);
}
std::string link(const std::string& name, int i) {
    return "https://example.org/" + text::utf8::toLower(name) + "/term-" + std::to_string(i);
}

// The program folder and the update file, made once per run with the code that builds the
// bundled dictionaries.
struct Input {
    fs::path root =
        fs::temp_directory_path() / ("augurlex-merge-bench-" + std::to_string(getpid()));
    fs::path folder = root / "program";
    std::string updateFile = (root / "update.mdb").string();

    Input() {
        fs::create_directories(folder);
        const std::string templatePath = store::templatePath(folder.string());
        dict::createTemplate(templatePath);
        std::vector<std::string> names;
        for (int d = 0; d < kDictionaries; ++d) {
            names.push_back(dictionaryName(d));
            std::string csv = "Key,Link\n";
            for (int i = 0; i < kRowsPerDictionary; ++i)
                csv += "term " + std::to_string(i) + "," + link(names.back(), i) + "\n";
            dict::writeDictionaryFile(templatePath,
                                      store::dictionaryPath(folder.string(), names.back()), csv,
                                      {{"names", text::utf8::toLower(names.back())}});
        }
        dict::writeCatalogue(store::cataloguePath(folder.string()), names);
        // Four rows in five go to known dictionaries, one to five new ones; one in ten repeats
        // an address already there.
        std::mt19937 random(7);
        std::string update = "names,Key,Link\n";
        for (int i = 0; i < kUpdateRows; ++i) {
            bool known = random() % 5 != 0;
            std::string name = known ? dictionaryName(random() % kDictionaries)
                                     : "New " + std::to_string(random() % 5);
            bool duplicate = random() % 10 == 0;
            int term = duplicate ? (known ? static_cast<int>(random() % kRowsPerDictionary)
                                          : std::max(0, i - 1 - static_cast<int>(random() % 50)))
                                 : kRowsPerDictionary + i;
            update += name + ",new term " + std::to_string(i) + "," + link(name, term) + "\n";
        }
        dict::writeDictionaryFile(templatePath, updateFile, update);
    }
    ~Input() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

// Each run merges into a fresh copy of the input's folder; only the merge is timed.
template <typename Fixture> void timeMerges(benchmark::State& state, const Fixture& in) {
    const fs::path work = in.root / "work";
    for (auto _ : state) {
        state.PauseTiming();
        fs::remove_all(work);
        fs::copy(in.folder, work);
        state.ResumeTiming();
        update::MergeReport report = update::mergeUpdateFile(in.updateFile, work.string());
        if (!report.succeeded())
            state.SkipWithError(update::reportText(report).c_str());
        state.counters["added"] = static_cast<double>(report.added);
        state.counters["duplicates"] = static_cast<double>(report.duplicates);
    }
}

void BM_Merge(benchmark::State& state) {
    static const Input in;
    timeMerges(state, in);
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(kUpdateRows),
                                                  benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Merge)->Unit(benchmark::kMillisecond)->Iterations(5);

// One dictionary of a million rows; the update adds 9,000 rows to it and repeats 1,000 of its
// addresses.
struct MillionRowInput {
    fs::path root =
        fs::temp_directory_path() / ("augurlex-merge-million-" + std::to_string(getpid()));
    fs::path folder = root / "program";
    std::string updateFile = (root / "update.mdb").string();
    static constexpr int kRows = 1000000;

    MillionRowInput() {
        fs::create_directories(folder);
        const std::string templatePath = store::templatePath(folder.string());
        dict::createTemplate(templatePath);
        const std::string name = "Omens";
        std::string csv = "Key,Link\n";
        for (int i = 0; i < kRows; ++i)
            csv += "term " + std::to_string(i) + "," + link(name, i) + "\n";
        dict::writeDictionaryFile(templatePath, store::dictionaryPath(folder.string(), name), csv,
                                  {{"names", "omens"}});
        dict::writeCatalogue(store::cataloguePath(folder.string()), {name});
        std::string update = "names,Key,Link\n";
        for (int i = 0; i < kUpdateRows; ++i) {
            const int term = i % 10 == 0 ? i * 97 : kRows + i;
            update += name + ",new term " + std::to_string(i) + "," + link(name, term) + "\n";
        }
        dict::writeDictionaryFile(templatePath, updateFile, update);
    }
    ~MillionRowInput() {
        std::error_code ignored;
        fs::remove_all(root, ignored);
    }
};

void BM_MergeIntoAMillionRows(benchmark::State& state) {
    static const MillionRowInput in;
    timeMerges(state, in);
}
BENCHMARK(BM_MergeIntoAMillionRows)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
