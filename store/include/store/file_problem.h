// Why a database file could not be read, sorted into the few cases a user can act on: the file
// is missing, empty, not an Access database, locked with another password, or damaged.
#pragma once

#include <string>

namespace store {

enum class FileProblem { Missing, Empty, NotADatabase, OtherPassword, Damaged };

// What is wrong with the file at `path`, for a file whose walk (record_walk.h) gave a reason.
// The file is looked at again: its presence, its size, then whether the engine opens it with the
// program's password. A file that opens is damaged (or lacks the program's table or fields):
// only a walk finds that.
FileProblem diagnoseFile(const std::string& path);

// The problem in a few words, for a sentence: "the file is damaged".
std::string describeProblem(FileProblem problem);

} // namespace store
