// The table definition page of a new Jet 4 table.
#pragma once

#include "write/table_layout.h"

#include <cstdint>
#include <vector>

namespace jet::detail {

// A complete table definition page. ErrorKind Invalid when the definition needs more than one
// page (never for the tables the engine creates).
std::vector<std::uint8_t> encodeTableDefinition(const TableLayout& table);

} // namespace jet::detail
