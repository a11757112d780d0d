// Appending 100,000 rows to a new dictionary file through the import path, then reading them
// back, with the file's size. Prints the figures; measures only.
//   append_benchmark [ROWS]
#include "augurlex-dict/dictionary_tables.h"
#include "augurlex-dict/table_import.h"
#include "jet/check.h"
#include "jet/write_session.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

} // namespace

int main(int argc, char** argv) {
    const long rows = argc > 1 ? std::atol(argv[1]) : 100000;
    const auto path = std::filesystem::temp_directory_path() / "augurlex-append-benchmark.dll";

    std::string csv = "names,Key,Link\r\n";
    for (long i = 0; i < rows; ++i)
        csv += "bench,Keyword number " + std::to_string(i) +
               ",https://en.wikipedia.org/wiki/Term_" + std::to_string(i * 7919 % 1000003) + "\r\n";

    jet::createDatabase(path, {dict::dictionaryTableSpec()});
    auto start = std::chrono::steady_clock::now();
    jet::WriteSession session = jet::WriteSession::open(path);
    dict::importCsv(session, "data", csv);
    const double appendSeconds = secondsSince(start);
    start = std::chrono::steady_clock::now();
    session.commit();
    const double commitSeconds = secondsSince(start);

    start = std::chrono::steady_clock::now();
    jet::Cursor cursor = jet::Database::open(path).table("data").cursor();
    std::size_t bytes = 0;
    long read = 0;
    for (bool ok = cursor.moveFirst(); ok; ok = cursor.moveNext(), ++read)
        bytes +=
            cursor.value(1).as<std::string>().size() + cursor.value(2).as<std::string>().size();
    const double readSeconds = secondsSince(start);

    start = std::chrono::steady_clock::now();
    const std::size_t faults = jet::checkDatabase(path).size();
    const double checkSeconds = secondsSince(start);

    std::printf("rows appended:        %ld (CSV %zu bytes)\n", rows, csv.size());
    std::printf("parse + append:       %.3f s\n", appendSeconds);
    std::printf("commit (write file):  %.3f s\n", commitSeconds);
    std::printf("read back:            %.3f s (%ld rows, %zu bytes of text)\n", readSeconds, read,
                bytes);
    std::printf("check:                %.3f s (%zu faults)\n", checkSeconds, faults);
    std::printf("file size:            %ju bytes\n",
                static_cast<std::uintmax_t>(std::filesystem::file_size(path)));
    std::filesystem::remove(path);
    return read == rows && faults == 0 ? 0 : 1;
}
