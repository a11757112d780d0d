// Keeping a table's indexes up to date as rows are appended: every physical index (one may serve
// several named indexes) gets an entry for each new row. Constraints are checked first, without
// changing a page, so that a refused row leaves the file as it was.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "jet/value.h"
#include "keys/column_key.h"
#include "read/code_page.h"
#include "read/table_def.h"
#include "write/index_tree.h"
#include "write/relationship_check.h"
#include "write/usage_map_editor.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace jet::detail {

class IndexMaintenance {
public:
    // The indexes of the table `def`, in a file whose header names `fileSortOrder`.
    IndexMaintenance(PageStore& pages, const JetFormat& format, PageAllocator allocate,
                     const TableDef& def, const CodePageDecoder& text, std::uint32_t fileSortOrder);
    IndexMaintenance(IndexMaintenance&&) noexcept;
    ~IndexMaintenance();

    // The entry key of `row` (values in column order) for each index, none where the index
    // leaves the row out. ErrorKind Invalid naming the index for a duplicate in a unique index, a
    // null in a primary-key or required index, or a sort order without keys; naming the
    // relationship for a row whose related row is missing.
    using Keys = std::vector<std::optional<std::vector<std::uint8_t>>>;
    Keys prepare(const std::vector<Value>& row);

    // Makes `prepare` refuse, with `why`, every row that would add an entry to the index whose
    // root is `root`.
    void refuseAdding(std::uint32_t root, std::string why);

    // Adds the entries `prepare` gave for the row now stored at `rowPage`/`rowSlot`.
    void insert(const Keys& keys, std::uint32_t rowPage, std::uint8_t rowSlot);

private:
    struct PhysicalIndex;
    PageStore& pages_;
    const JetFormat& format_;
    std::uint32_t tablePage_;
    std::string table_;
    std::vector<PhysicalIndex> indexes_;
    RelationshipCheck relationships_;
};

} // namespace jet::detail
