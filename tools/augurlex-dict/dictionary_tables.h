// The table of the program's database files, as `augurlex-dict create` and the build make them.
#pragma once

#include "jet/create.h"

namespace dict {

// A dictionary file (and the template): table data with text names and Key, memo Link (a memo,
// so a web address of any length fits).
jet::TableSpec dictionaryTableSpec();
// The catalogue: table data with text names and Database.
jet::TableSpec catalogueTableSpec();

} // namespace dict
