// The merge as the Update command first did it: row by row through the program's database
// routines, every record saved on its own, every failing step skipped in silence, the catalogue
// walked and the target dictionary opened and walked again for each update row. Not used by the
// program: it is the yardstick the merge is checked against and measured beside.
#pragma once

#include <string>

namespace update_reference {

// False when the update file has no rows or cannot be opened ("There is nothing to Update").
bool RowByRowMerge(const std::string& updateFilePath, const std::string& programFolder);

} // namespace update_reference
