// Names of tables and columns, compared as Jet compares them.
#pragma once

#include "jet/database.h"

#include <string_view>
#include <vector>

namespace jet::detail {

// Compares object names as Jet does: ignoring case (ASCII, Latin-1, Greek and Cyrillic letters).
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// Position of the column with that name, ignoring case; -1 if none.
int columnPosition(const std::vector<Column>& columns, std::string_view name);

} // namespace jet::detail
