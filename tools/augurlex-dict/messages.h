// The tool's messages on stderr: one line each after "augurlex-dict: ", control characters in
// names and reasons escaped, so no file name or key can split a line or cut it short.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace dict {

void tellUser(std::FILE* err, std::string_view message);
// "PATH: REASON", where the reason does not already begin with the path (the engine names the
// file in the errors of a damaged one).
std::string aboutFile(std::string_view path, std::string_view reason);
// Says the output could not be written; returns the exit status for that.
int cannotWriteOutput(std::FILE* err);

} // namespace dict
