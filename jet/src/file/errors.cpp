#include "file/errors.h"

namespace jet::detail {

std::string named(std::string_view kind, std::string_view name) {
    return std::string(kind) + " \"" + std::string(name) + "\"";
}

void throwCorrupt(const std::string& what) {
    throw Error(ErrorKind::Corrupt, "corrupt database: " + what);
}

void throwCorruptPage(std::uint32_t page, const std::string& what) {
    throwCorrupt("page " + std::to_string(page) + ": " + what);
}

} // namespace jet::detail
