// Enforced relationships seen from the table rows are appended to: a row on the "many" side
// whose foreign-key values are all present must find its row on the "one" side. Appending to
// the "one" side needs nothing (nothing cascades on insert).
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "jet/value.h"
#include "keys/column_key.h"
#include "read/code_page.h"
#include "read/table_def.h"
#include "write/usage_map_editor.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

class RelationshipCheck {
public:
    // The relationships in which `def` is the "many" side, in a file whose header names
    // `fileSortOrder`.
    RelationshipCheck(PageStore& pages, const JetFormat& format, PageAllocator allocate,
                      const TableDef& def, const CodePageDecoder& text,
                      std::uint32_t fileSortOrder);

    // ErrorKind Invalid naming the relationship when `row` (values in column order) has all its
    // foreign-key values and no related row holds them. A row missing any of them passes, as
    // Access lets it.
    void check(const std::vector<Value>& row) const;

    std::size_t size() const { return links_.size(); }

private:
    struct Link {
        std::string description;           // the relationship and its two tables
        std::vector<IndexColumn> columns;  // foreign-key columns of this table
        std::vector<KeyColumn> keyColumns; // the related index's, parallel to columns
        std::uint32_t relatedTablePage = 0;
        std::uint32_t root = 0;
        std::uint32_t usageMap = 0;
    };

    PageStore& pages_;
    const JetFormat& format_;
    PageAllocator allocate_;
    std::vector<Link> links_;
};

} // namespace jet::detail
