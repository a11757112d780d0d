// Appending rows to an indexed table beside an unindexed one: a table with a text primary key
// and a unique two-column index (from an Access-made file) and a new table with the same
// columns and no index are each filled with BASE random rows, then ADDED more rows are appended
// and committed, timed. Prints the figures and the integrity check's verdict; measures only.
//   indexed_append_benchmark [BASE [ADDED [KEEP_FOLDER]]]
#include "jet/check.h"
#include "jet/create.h"
#include "jet/write_session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

namespace {

constexpr const char* kIndexedTable = "TableUnique2_temp";

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string randomText(std::mt19937& random, std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i)
        out += static_cast<char>('a' + random() % 26);
    return out;
}

// Appends `rows` random rows numbered from `first`, then commits; returns the seconds taken.
double append(const std::filesystem::path& path, const std::string& table, long first, long rows,
              std::mt19937& random) {
    const auto start = std::chrono::steady_clock::now();
    jet::WriteSession session = jet::WriteSession::open(path);
    for (long i = first; i < first + rows; ++i)
        session.appendRow(table, {{"row", randomText(random, 12) + std::to_string(i)},
                                  {"data1", randomText(random, 1 + random() % 30)},
                                  {"data2", std::int64_t{i}}});
    session.commit();
    return secondsSince(start);
}

} // namespace

int main(int argc, char** argv) {
    const long base = argc > 1 ? std::atol(argv[1]) : 100000;
    const long added = argc > 2 ? std::atol(argv[2]) : 10000;
    const auto dir = std::filesystem::temp_directory_path();
    const auto indexed = dir / "augurlex-indexed-append.mdb";
    const auto plain = dir / "augurlex-plain-append.mdb";
    std::filesystem::copy_file(std::filesystem::path(AUGURLEX_TESTDATA) /
                                   "jackcess__testIndexPropertiesV2003.mdb",
                               indexed, std::filesystem::copy_options::overwrite_existing);
    jet::createDatabase(plain, {{"plain",
                                 {{"row", jet::ColumnType::Text, 50},
                                  {"data1", jet::ColumnType::Text, 50},
                                  {"data2", jet::ColumnType::Long}}}});

    std::mt19937 random(14);
    const double fillIndexed = append(indexed, kIndexedTable, 0, base, random);
    const double fillPlain = append(plain, "plain", 0, base, random);
    const double addIndexed = append(indexed, kIndexedTable, base, added, random);
    const double addPlain = append(plain, "plain", base, added, random);
    std::printf("filling %ld rows: indexed %.3f s, unindexed %.3f s\n", base, fillIndexed,
                fillPlain);
    std::printf("appending %ld rows to %ld: indexed %.3f s, unindexed %.3f s\n", added, base,
                addIndexed, addPlain);
    const auto faults = jet::checkDatabase(indexed);
    std::printf("check of the indexed file: %zu faults%s%s\n", faults.size(),
                faults.empty() ? "" : "; first: ", faults.empty() ? "" : faults.front().c_str());
    if (argc > 3)
        std::filesystem::copy_file(indexed, std::filesystem::path(argv[3]) / indexed.filename(),
                                   std::filesystem::copy_options::overwrite_existing);
    std::filesystem::remove(indexed);
    std::filesystem::remove(plain);
    return faults.empty() ? 0 : 1;
}
