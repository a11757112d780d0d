// For hostile-input tests: opens the file with and without the program's password, describes
// every page, lists the tables, dumps every row, appends rows to each table in memory and runs the
// integrity check.
#pragma once

#include <filesystem>

namespace fuzzing {

// How many of the two attempts ended in a jet::Error. Any other exception, a crash or a sanitizer
// report is a fault; so is a walk that visits another number of rows than it announced, and a page
// whose description raises an error.
int openAndDump(const std::filesystem::path& path);

} // namespace fuzzing
