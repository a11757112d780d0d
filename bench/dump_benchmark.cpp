// Decoding every field of the largest tables in the test data, and writing them as JSON lines
// and CSV. Measures only; the tests check correctness.
#include "augurlex-dict/row_formats.h"
#include "jet/database.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <optional>
#include <string>

namespace {

const std::filesystem::path kTestData = AUGURLEX_TESTDATA;

struct Subject {
    const char* file;
    const char* table;
};

// The tables with the most rows or the widest rows.
constexpr Subject kSubjects[] = {
    {"jackcess__compIndexTestV1997.mdb", "Table1"},
    {"jackcess__compIndexTestV2000.mdb", "Table1"},
    {"jackcess__testIndexCodesV1997.mdb", "Table1"},
    {"jackcess__testIndexCodesV1997.mdb", "Table14"},
    {"jackcess__test2V2003.mdb", "MSP_PROJECTS"},
    {"jackcess__testV2000.mdb", "Table1"},
};

bool openSubject(benchmark::State& state, const Subject& subject, std::optional<jet::Table>& out) {
    std::filesystem::path path = kTestData / subject.file;
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("test data not found");
        return false;
    }
    try {
        out.emplace(jet::Database::open(path).table(subject.table));
    } catch (const jet::Error& error) {
        state.SkipWithError(error.what());
        return false;
    }
    return true;
}

void decodeEveryField(benchmark::State& state, Subject subject) {
    std::optional<jet::Table> table;
    if (!openSubject(state, subject, table))
        return;
    std::size_t columns = table->columns().size();
    std::int64_t rows = 0;
    for (auto _ : state) {
        jet::Cursor cursor = table->cursor();
        for (bool ok = cursor.moveFirst(); ok; ok = cursor.moveNext()) {
            for (std::size_t c = 0; c < columns; ++c)
                benchmark::DoNotOptimize(&cursor.value(c));
            ++rows;
        }
    }
    state.SetItemsProcessed(rows);
}

void writeFormat(benchmark::State& state, Subject subject, dict::RowFormat format) {
    std::optional<jet::Table> table;
    if (!openSubject(state, subject, table))
        return;
    std::int64_t bytes = 0;
    for (auto _ : state) {
        std::string text;
        {
            dict::OutputWriter out(text);
            dict::writeRows(*table, format, out);
        }
        bytes += static_cast<std::int64_t>(text.size());
        benchmark::DoNotOptimize(text.data());
    }
    state.SetBytesProcessed(bytes);
}

void openAndList(benchmark::State& state, const char* file) {
    std::filesystem::path path = kTestData / file;
    if (!std::filesystem::exists(path)) {
        state.SkipWithError("test data not found");
        return;
    }
    for (auto _ : state)
        benchmark::DoNotOptimize(jet::Database::open(path).tableNames());
}

int registerAll() {
    for (const Subject& s : kSubjects) {
        std::string name = std::string(s.file) + "/" + s.table;
        benchmark::RegisterBenchmark(("decode/" + name).c_str(), decodeEveryField, s);
        benchmark::RegisterBenchmark(("jsonl/" + name).c_str(), writeFormat, s,
                                     dict::RowFormat::JsonLines);
        benchmark::RegisterBenchmark(("csv/" + name).c_str(), writeFormat, s, dict::RowFormat::Csv);
    }
    for (const char* file : {"jackcess__testIndexCodesV1997.mdb", "jackcess__testV2003.mdb"})
        benchmark::RegisterBenchmark((std::string("open/") + file).c_str(), openAndList, file);
    return 0;
}

const int registered = registerAll();

} // namespace

BENCHMARK_MAIN();
