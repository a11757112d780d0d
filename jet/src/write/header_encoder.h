// The header page (page 0) of a new Jet 4 database.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::detail {

// `password` is UTF-8, at most 20 characters (ErrorKind Invalid otherwise); `creationTime` is
// days since 1899-12-30 and also keys the password's mask.
std::vector<std::uint8_t> encodeJet4Header(std::string_view password, double creationTime);

} // namespace jet::detail
