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

// An index whose text keys, as stored, differ from those this engine computes for the same rows
// while each entry is otherwise sound: Access may weigh some text otherwise. Not damage, but
// the writer adds nothing to such an index, lest its entries fall out of order.
struct KeyDifference {
    std::uint32_t tablePage = 0; // the table's definition
    std::uint32_t indexRoot = 0;
    std::string what; // one line naming the index, its table, the first such entry and its text
};

// Reports each fault through `fault` and each index with keys computed otherwise through
// `differs`, naming `table` and the index. `fileSortOrder` is the one the file's header names.
void checkIndexEntries(const PageStore& pages, const JetFormat& format,
                       const CodePageDecoder& textDecoder, std::uint32_t fileSortOrder,
                       const TableDef& def, std::uint64_t liveRows, const std::string& table,
                       const std::function<void(std::string)>& fault,
                       const std::function<void(KeyDifference)>& differs);

} // namespace jet::detail
