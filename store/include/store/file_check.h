// Whether a file can be trusted before its records are taken: the engine's integrity check over
// what reading the file depends on (its table definitions, data pages, long values and their
// usage maps), not over its indexes, which a reader never uses.
#pragma once

#include <optional>
#include <string>

namespace store {

// Nothing when the file is sound for reading; otherwise "<path>: <its first fault>" (also for a
// file that cannot be opened). Opens the file read-only, with the program's password.
std::optional<std::string> faultForReading(const std::string& path);

} // namespace store
