// The commands of augurlex-dict. Each returns the exit status.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace dict {

enum ExitStatus : int {
    kSuccess = 0,
    kFailure = 1,     // faults found, rows refused, the term not found, or the lock not had
    kUsage = 2,       // the program was called wrongly
    kUnreadable = 3,  // the file cannot be opened or read, or is damaged
    kCannotWrite = 4, // the output could not be written (a full disk, a closed pipe)
};

extern const char* const kUsageText;

// words: everything after the command word. Output goes to out, messages to err.
int runInfo(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runDump(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runCheck(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runPages(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runPage(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runCreate(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runImport(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runSearch(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runLookup(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
int runMerge(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);
class Arguments;
// --folder, or the folder of the running program (where its dictionaries are).
std::string dictionaryFolder(const Arguments& args);
// The catalogue's dictionary names; std::runtime_error when it cannot be read whole.
std::vector<std::string> catalogueNames(const std::string& folder);

// The whole program, argv without the program name.
int runCommandLine(const std::vector<std::string>& words, std::FILE* out, std::FILE* err);

} // namespace dict
