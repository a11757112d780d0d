// An integrity check of a whole database: the invariants the engine's writer keeps, checked
// page by page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

// What a check covers: the whole file, or what reading its rows depends on (the catalogue, table
// definitions, data pages, long values and the usage maps of these), leaving out its indexes:
// a file that is only read is read without them, and a key this engine would build otherwise
// is no reason to refuse it.
enum class CheckScope { WholeFile, Reading };

// What a check finds: faults (the file is damaged) and indexes whose stored text keys differ
// from those this engine computes for the same rows while every entry is otherwise sound
// (Access weighs some text otherwise; the writer adds no rows to such an index). One line each,
// naming the page or table, the index and, for a key, its entry and the row's text.
struct CheckFindings {
    std::vector<std::string> faults;
    std::vector<std::string> keyDifferences;
};

// Opening errors (not a database, wrong password) are raised as jet::Error.
CheckFindings checkDatabaseFindings(const std::filesystem::path& path,
                                    std::string_view password = {},
                                    CheckScope scope = CheckScope::WholeFile);

// The faults alone: empty when the file is sound.
std::vector<std::string> checkDatabase(const std::filesystem::path& path,
                                       std::string_view password = {},
                                       CheckScope scope = CheckScope::WholeFile);

} // namespace jet
