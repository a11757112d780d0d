// Everything a reader does with a file, for hostile-input tests: open it with and without the
// program's password, list the tables with their columns and indexes, dump every row, append a row
// to each table in memory and run the integrity check.
#pragma once

#include <filesystem>

namespace fuzzing {

// Returns how many of the two attempts ended in a jet::Error. Any other exception, a crash or a
// sanitizer report is a fault.
int openAndDump(const std::filesystem::path& path);

} // namespace fuzzing
