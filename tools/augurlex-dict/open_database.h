// Opening a database for the commands, with the program's password rules.
#pragma once

#include "jet/database.h"
#include "store/program_files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace dict {

struct OpenRequest {
    std::string path;
    std::optional<std::string> password;
    std::uint16_t jet3CodePage = 0; // 0: as the file says
};

// Calls open(password) with the given password; without one, with the program's database
// password and, when that is refused (ErrorKind BadPassword), with none.
template <class Open>
auto withProgramPasswords(const std::optional<std::string>& password, Open open)
    -> decltype(open(std::string_view{})) {
    if (password)
        return open(std::string_view(*password));
    try {
        return open(std::string_view(store::kDatabasePassword));
    } catch (const jet::Error& error) {
        if (error.kind() != jet::ErrorKind::BadPassword)
            throw;
    }
    return open(std::string_view{});
}

// With a password: opens with exactly that one. Without: tries the program's database
// password, then none; when both are refused, the password error propagates.
jet::Database openDatabase(const OpenRequest& request);

// The --password and --code-page options of a command; UsageError for a bad code page.
class Arguments;
OpenRequest openRequest(const std::string& path, const Arguments& args);

} // namespace dict
