// Messages about one file: "PATH: REASON".
#pragma once

#include <string>
#include <string_view>

namespace store {

// "PATH: REASON", where the reason does not already begin with the path: the engine names the
// file in the errors of a damaged one, and a message names it once.
inline std::string aboutFile(std::string_view path, std::string_view reason) {
    std::string prefix(path);
    prefix += ": ";
    if (reason.substr(0, prefix.size()) == prefix)
        return std::string(reason);
    return prefix + std::string(reason);
}

} // namespace store
