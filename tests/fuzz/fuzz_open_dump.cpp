// libFuzzer target: the input is a database file, written to one scratch file per process.
#include "open_and_dump.h"

#include <fstream>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        ("augurlex-fuzz-" + std::to_string(getpid()) + ".mdb");
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    fuzzing::openAndDump(path);
    fuzzing::describeEveryPage(path, true);
    return 0;
}
