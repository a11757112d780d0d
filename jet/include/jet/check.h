// An integrity check of a whole database: the invariants the engine's writer keeps, checked
// page by page.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

// One line per fault found, each naming the page or table; empty when the file is sound.
// Opening errors (not a database, wrong password) are raised as jet::Error.
std::vector<std::string> checkDatabase(const std::filesystem::path& path,
                                       std::string_view password = {});

} // namespace jet
