// libFuzzer target: the input is a database file.
#include "open_and_dump.h"

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <unistd.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The engine reads files, so each input goes through one file per process.
    struct ScratchPath {
        std::string path = (std::filesystem::temp_directory_path() /
                            ("augurlex-fuzz-" + std::to_string(getpid()) + ".mdb"))
                               .string();
        ~ScratchPath() { std::remove(path.c_str()); }
    };
    static const ScratchPath scratch;
    const std::string& path = scratch.path;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return 0;
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    fuzzing::openAndDump(path);
    return 0;
}
