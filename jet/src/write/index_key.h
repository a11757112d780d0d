// Index entry keys as Jet 4 sorts them: the bytes of a whole entry compare in index order.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::detail {

// Appends the key of one column value to `key`. Ascending columns are written as stored;
// descending ones are the bitwise complement.
void appendLongKey(std::vector<std::uint8_t>& key, std::int32_t value, bool ascending = true);
void appendNullKey(std::vector<std::uint8_t>& key, bool ascending = true);
// Text in the "General" sort order. Only letters, digits, space and underscore are supported:
// other characters raise ErrorKind Invalid (the engine builds text keys only for the names it
// creates itself).
void appendTextKey(std::vector<std::uint8_t>& key, std::string_view ascii, bool ascending = true);

// The row pointer that ends every leaf entry: 3-byte page number and row number, big-endian.
void appendEntryRowPointer(std::vector<std::uint8_t>& key, std::uint32_t page, std::uint8_t row);

} // namespace jet::detail
