// Opening a database for the commands, with the program's password rules.
#pragma once

#include "jet/database.h"

#include <cstdint>
#include <optional>
#include <string>

namespace dict {

struct OpenRequest {
    std::string path;
    std::optional<std::string> password;
    std::uint16_t jet3CodePage = 0; // 0: as the file says
};

// With a password: opens with exactly that one. Without: tries the program's database
// password, then none; when both are refused, the password error propagates.
jet::Database openDatabase(const OpenRequest& request);

// The --password and --code-page options of a command; UsageError for a bad code page.
class Arguments;
OpenRequest openRequest(const std::string& path, const Arguments& args);

} // namespace dict
