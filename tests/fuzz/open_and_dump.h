// For hostile-input tests: opens the file with and without the program's password (and, when
// both are refused as wrong, with the Office-encrypted test files' password), lists the
// tables, dumps every row, appends rows to each table in memory and runs the integrity check; and
// describes every page as `augurlex-dict page` does.
#pragma once

#include <filesystem>

namespace fuzzing {

// How many of the attempts ended in a jet::Error. Any other exception, a crash or a sanitizer
// report is a fault; so is a walk that visits another number of rows than it announced.
int openAndDump(const std::filesystem::path& path);

// Describes every page, with the first of those passwords that opens the file, and lays each out
// as text when `layOut` is true (the fuzzer has the time for it; the mutation test keeps to the
// engine). Opening may be refused; a page whose description raises an error is a fault, thrown
// as std::logic_error.
void describeEveryPage(const std::filesystem::path& path, bool layOut);

} // namespace fuzzing
