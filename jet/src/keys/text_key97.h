// Text index keys of Access 97 files: the "General" sort order of Windows-1252 text.
#pragma once

#include "keys/sort_weights.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet::detail {

// Appends the key of a non-null UTF-8 text (without the leading start flag) to `key`, as Access
// 97 writes it for a file whose text is in Windows-1252. Only the first 255 characters count and
// trailing spaces are dropped. Descending keys are the complement of the whole text key.
// ErrorKind Invalid for a character Windows-1252 does not hold.
void appendGeneral97TextKey(std::vector<std::uint8_t>& key, std::string_view utf8, bool ascending);

// What the keys of an Access 97 file's text depend on: the code page of its text and the sort
// order (a Windows locale id) its header names.
struct Jet3Text {
    std::uint16_t codePage = 0;
    std::uint32_t sortOrder = 0;
};

// The sort order whose keys the engine builds for the text of such a file: General97 for
// Windows-1252 text in the "General" order (1033), none for any other.
std::optional<TextSortOrder> jet3TextSortOrder(const Jet3Text& text);

// That sort order as messages name it.
std::string jet3SortOrderName(const Jet3Text& text);

} // namespace jet::detail
