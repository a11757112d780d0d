#include "store/file_problem.h"

#include "jet/database.h"
#include "jet/error.h"
#include "store/program_files.h"

#include <filesystem>
#include <system_error>

namespace store {

FileProblem diagnoseFile(const std::string& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return FileProblem::Missing;
    if (std::filesystem::file_size(path, error) == 0 && !error)
        return FileProblem::Empty;
    try {
        jet::Database::open(path, kDatabasePassword);
    } catch (const jet::Error& failure) {
        if (failure.kind() == jet::ErrorKind::NotSupported)
            return FileProblem::NotADatabase;
        if (failure.kind() == jet::ErrorKind::BadPassword)
            return FileProblem::OtherPassword;
    }
    return FileProblem::Damaged;
}

std::string describeProblem(FileProblem problem) {
    switch (problem) {
    case FileProblem::Missing:
        return "the file is missing";
    case FileProblem::Empty:
        return "the file is empty";
    case FileProblem::NotADatabase:
        return "the file is not an Access database";
    case FileProblem::OtherPassword:
        return "the file is locked with another password";
    case FileProblem::Damaged:
        break;
    }
    return "the file is damaged";
}

} // namespace store
