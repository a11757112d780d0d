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

// One line per fault found, each naming the page or table; empty when the file is sound.
// Opening errors (not a database, wrong password) are raised as jet::Error.
std::vector<std::string> checkDatabase(const std::filesystem::path& path,
                                       std::string_view password = {},
                                       CheckScope scope = CheckScope::WholeFile);

} // namespace jet
