// Text index keys in the "General" sort orders: the bytes Access writes for a text value.
#pragma once

#include "keys/sort_weights.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace jet::detail {

// Appends the key of a non-null UTF-8 text (without the leading start flag) to `key`. Only the
// first 255 UTF-16 code units count, and trailing spaces are dropped. Descending keys are the
// complement, with a closing byte that keeps a shorter text after a longer one.
void appendGeneralTextKey(std::vector<std::uint8_t>& key, std::string_view utf8,
                          TextSortOrder order, bool ascending);

} // namespace jet::detail
