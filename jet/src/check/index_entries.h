// Checking the entries of a table's indexes against its rows: entries in index order, exactly one
// entry for each live row (none for deleted ones, none for all-null rows of an index that ignores
// nulls), and, where the engine builds keys in the column's sort order, every key byte as the
// row's values give it.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "read/code_page.h"
#include "read/table_def.h"

#include <functional>
#include <string>

namespace jet::detail {

// Reports each fault through `fault`, naming `table` and the index. `fileSortOrder` is the one
// the file's header names.
void checkIndexEntries(const PageStore& pages, const JetFormat& format,
                       const CodePageDecoder& textDecoder, std::uint32_t fileSortOrder,
                       const TableDef& def, std::uint64_t liveRows, const std::string& table,
                       const std::function<void(std::string)>& fault);

} // namespace jet::detail
