// The commands of augurlex-dict. Each returns the exit status.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace dict {

enum ExitStatus : int {
    kSuccess = 0,
    kFailure = 1,    // output could not be written
    kUsage = 2,      // the program was called wrongly
    kUnreadable = 3, // the file cannot be opened or read
};

extern const char* const kUsageText;

// words: everything after the command word. Output goes to out, messages to err.
int runInfo(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runDump(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);

// The whole program, argv without the program name.
int runCommandLine(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);

} // namespace dict
