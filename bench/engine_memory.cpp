// Peak memory and time of the engine alone on a large file, for the figures a benchmark's
// timing loop cannot give: each run is one process, so its peak resident set is the run's own.
//
//   engine_memory read FILE [PASSWORD]          walks every row, reading "Key" only
//   engine_memory append FILE ROWS [PASSWORD]   appends ROWS rows to table "data" and commits
//
// Prints the seconds taken and the peak resident set in MiB. Measures only; never fails on
// speed or size.
#include "jet/database.h"
#include "jet/write_session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/resource.h>

namespace {

double peakMiB() {
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0; // kilobytes on Linux
}

std::uint64_t readKeys(const std::string& path, const std::string& password) {
    const jet::Database db = jet::Database::open(path, password);
    const jet::Table table = db.table("data");
    const int key = table.columnIndex("Key");
    jet::Cursor rows = table.cursor();
    std::string text;
    std::uint64_t bytes = 0;
    for (bool more = rows.moveFirst(); more; more = rows.moveNext()) {
        rows.readText(static_cast<std::size_t>(key), text);
        bytes += text.size();
    }
    return bytes;
}

std::uint64_t appendRows(const std::string& path, long rows, const std::string& password) {
    jet::WriteSession session = jet::WriteSession::open(path, password);
    for (long i = 0; i < rows; ++i)
        session.appendRow("data", {{"Key", "appended term " + std::to_string(i)},
                                   {"Link", "https://reference.example.org/terms/appended_" +
                                                std::to_string(i)}});
    session.commit();
    return session.appendedRows();
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 2 ? argv[1] : "";
    if (mode != "read" && !(mode == "append" && argc > 3)) {
        std::fprintf(stderr, "usage: engine_memory read FILE [PASSWORD]\n"
                             "       engine_memory append FILE ROWS [PASSWORD]\n");
        return 2;
    }
    const std::string path = argv[2];
    const auto start = std::chrono::steady_clock::now();
    std::uint64_t result = 0;
    try {
        if (mode == "read")
            result = readKeys(path, argc > 3 ? argv[3] : "");
        else
            result = appendRows(path, std::strtol(argv[3], nullptr, 10), argc > 4 ? argv[4] : "");
    } catch (const jet::Error& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    std::printf("%s %s: %llu, %.3f s, peak %.1f MiB\n", mode.c_str(), path.c_str(),
                static_cast<unsigned long long>(result), took.count(), peakMiB());
    return 0;
}
