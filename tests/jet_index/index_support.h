// Helpers for the index tests: the Access-made files, and for one index of a table the keys its
// pages hold beside the keys the engine computes from the table's rows.
#pragma once

#include "jet/database.h"
#include "keys/column_key.h"
#include "keys/text_key97.h"
#include "read/index_pages_read.h"
#include "support.h"

#include <filesystem>
#include <string>
#include <vector>

namespace jet::test {

// Every Access-made test file that opens with its listed password (encrypted ones too), by name.
std::vector<ListedFile> openTestFiles();

using Key = std::vector<std::uint8_t>;

struct IndexKeys {
    std::string table;
    std::string index;
    bool supported = true;     // false: a text column in a sort order without weights
    bool hasText = false;      // a text or memo column is part of the key
    std::vector<Key> stored;   // in page order
    std::vector<Key> computed; // in row order
};

// Both sets of keys for every index of every user table of `db`.
std::vector<IndexKeys> indexKeys(const Database& db);

// How one index column orders its values, as the engine reads it from the table definition.
std::vector<detail::KeyColumn> keyColumns(const Database& db, const std::string& table,
                                          const Index& index);

std::string hex(const Key& key);

} // namespace jet::test
