// The tool's messages on stderr: one line each after "augurlex-dict: ", control characters in
// names and reasons escaped, so no file name or key can split a line or cut it short.
#pragma once

#include "store/file_message.h"

#include <cstdio>
#include <string_view>

namespace dict {

void tellUser(std::FILE* err, std::string_view message);
using store::aboutFile; // "PATH: REASON", naming the file once
// Says the output could not be written; returns the exit status for that.
int cannotWriteOutput(std::FILE* err);

} // namespace dict
