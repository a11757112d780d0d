// The header page (page 0) of a new Jet 4 or Access 2010 (ACE 14) database.
#pragma once

#include "jet/version.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::detail {

// `password` is UTF-8, at most 20 characters (ErrorKind Invalid otherwise); `creationTime` is
// days since 1899-12-30 and also keys the password's mask.
std::vector<std::uint8_t> encodeJet4Header(std::string_view password, double creationTime);

// The header of a new Access 2010 file: the Jet 4 layout with the ACE magic text and version,
// the current "General" sort order and the fields Access 2010 sets differently. It keeps no
// password: Access 2007 and later protect a file with a password only by encrypting it.
std::vector<std::uint8_t> encodeAce14Header(double creationTime);

} // namespace jet::detail
