// The key bytes of one column value in an index entry, for every column type an index can hold.
#pragma once

#include "file/format.h"
#include "jet/value.h"
#include "keys/sort_weights.h"
#include "keys/text_key97.h"
#include "read/table_def.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace jet::detail {

// How one column of an index orders its values.
struct KeyColumn {
    ColumnType type = ColumnType::Long;
    bool ascending = true;
    // Text and memo: the sort order, or none when the column's sort order is one the engine does
    // not build keys for (`sortOrderName` then names it).
    std::optional<TextSortOrder> textOrder;
    std::string sortOrderName;
    // Decimals: Access 2007 and later set the sign byte before complementing a key, earlier
    // versions after.
    bool legacyDecimal = true;
};

// How the index columns `columns` of `def` order their values: type and direction, and for text
// the sort order the column declares (Jet 4) or the file gives (Jet 3: `jet3`), named for
// messages when the engine builds no keys in it.
std::vector<KeyColumn> keyColumnsOf(const JetFormat& format, const TableDef& def,
                                    const std::vector<IndexColumn>& columns, const Jet3Text& jet3);

// Whether the engine builds keys for the column: not for text in a sort order it has no weights
// for.
bool buildsKeys(const KeyColumn& column);

// Appends the key of `value` (null included) in that column to `key`. ErrorKind Invalid when the
// value cannot be put in such a key (a text sort order without weights, a type without keys).
void appendColumnKey(std::vector<std::uint8_t>& key, const Value& value, const KeyColumn& column);

// The key of a whole entry: each column's key in index order (without the row pointer).
std::vector<std::uint8_t> entryKey(const std::vector<const Value*>& values,
                                   const std::vector<KeyColumn>& columns);

// How many leading bytes of that key follow from the values whatever way the text sort order
// counts positions and accents: when the last column is text, all but the part of its key after
// the letter weights; otherwise the whole key. A stored key that differs only after them was
// weighed otherwise; one that differs within them is damaged.
std::size_t weightedKeyPrefix(const std::vector<const Value*>& values,
                              const std::vector<KeyColumn>& columns);

} // namespace jet::detail
