// What the "General" sort order gives each UTF-16 code unit of a text key: the weight written in
// the key's first part, and the extra codes (accents, case, punctuation) written after it.
#pragma once

#include "read/text_sort_order.h"

#include <cstdint>
#include <string_view>

namespace jet::detail {

enum class CharSort : std::uint8_t {
    Plain,            // weight only
    Accented,         // weight, and an extra code for its position
    Unprintable,      // no weight: a code naming its position and itself
    ExtraModifier,    // no weight: adds to the extra code of the character before it
    AccentedWithFlag, // weight, maybe an extra code, and a two-bit flag of its own
    Significant,      // weight only (kept apart from Plain as the tables name it)
    Ignored,          // leaves no trace in the key
    Surrogate,        // half of a pair: the weight is computed from the code unit
};

struct CharWeight {
    CharSort sort = CharSort::Ignored;
    std::uint8_t weightLength = 0;
    std::uint8_t extraLength = 0; // extra, unprintable or modifier bytes
    std::uint8_t flag = 0;        // AccentedWithFlag: 2 or 3
    // The letters it sorts as, each taking a position in the parts of a key that count them:
    // 2 for "ß" ("ss"), "æ" ("ae") or "ǆ" ("dž"), 1 for most.
    std::uint8_t letters = 1;
    std::uint8_t weight[8] = {};
    std::uint8_t extra[4] = {};
};

// The weights of one code unit in that sort order.
const CharWeight& charWeight(TextSortOrder order, char16_t unit);

} // namespace jet::detail
