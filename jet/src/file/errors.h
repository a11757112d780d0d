// Building the engine's error messages in one style.
#pragma once

#include "jet/error.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace jet::detail {

// A thing and its name as every message quotes them: named("table", "data") is `table "data"`.
std::string named(std::string_view kind, std::string_view name);

[[noreturn]] void throwCorrupt(const std::string& what);
[[noreturn]] void throwCorruptPage(std::uint32_t page, const std::string& what);

} // namespace jet::detail

#include <filesystem>

namespace jet::detail {

// Runs `work`, prefixing the file name to any Corrupt error it raises.
template <class Work>
auto inFile(const std::filesystem::path& file, Work&& work) -> decltype(work()) {
    try {
        return work();
    } catch (const Error& e) {
        if (e.kind() != ErrorKind::Corrupt)
            throw;
        throw Error(ErrorKind::Corrupt, file.string() + ": " + e.what());
    }
}

} // namespace jet::detail
