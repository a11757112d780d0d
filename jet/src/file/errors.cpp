#include "file/errors.h"

namespace jet::detail {

void throwCorrupt(const std::string& what) {
    throw Error(ErrorKind::Corrupt, "corrupt database: " + what);
}

void throwCorruptPage(std::uint32_t page, const std::string& what) {
    throwCorrupt("page " + std::to_string(page) + ": " + what);
}

} // namespace jet::detail
