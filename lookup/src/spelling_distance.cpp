#include "spelling_distance.h"

#include "text/folding.h"

#include <algorithm>
#include <array>

namespace lookup {

// Row i of the table holds the distances between the text's first i characters and the term's
// first j, for the j no further than `bound` from i: cell d is j = i + d - bound, and the cells
// at both ends of the array, never written, stand for the cells outside the band.
std::size_t spellingDistance(std::u32string_view term, std::string_view text, std::size_t bound) {
    bound = std::min(bound, kMaxSpellingEdits);
    using Row = std::array<std::size_t, 2 * kMaxSpellingEdits + 3>;
    const std::size_t over = bound + 1, width = 2 * bound + 1, m = term.size();
    Row before, last, row;
    before.fill(over);
    last.fill(over);
    row.fill(over);
    for (std::size_t j = 0; j <= std::min(bound, m); ++j)
        last[j + bound + 1] = j;

    std::size_t i = 0;
    char32_t previous = 0;
    char32_t folded[text::kMaxFoldedCharacters];
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t count = text::foldNext(text, pos, folded);
        for (std::size_t k = 0; k < count; ++k) {
            const char32_t c = folded[k];
            ++i;
            std::size_t best = over;
            for (std::size_t d = 0; d < width; ++d) {
                if (i + d < bound || i + d - bound > m) {
                    row[d + 1] = over;
                    continue;
                }
                const std::size_t j = i + d - bound;
                std::size_t cell = j == 0 ? i : std::min(last[d + 2], row[d]) + 1;
                if (j > 0)
                    cell = std::min(cell, last[d + 1] + (c != term[j - 1]));
                if (i > 1 && j > 1 && c == term[j - 2] && previous == term[j - 1])
                    cell = std::min(cell, before[d + 1] + 1);
                row[d + 1] = std::min(cell, over);
                best = std::min(best, row[d + 1]);
            }
            // Every later cell comes from a cell of this row, or from a cell of the row before
            // by a swap that costs no less than the substitution into this row.
            if (best > bound)
                return over;
            before = last;
            last = row;
            previous = c;
        }
    }
    if (i + bound < m || i > m + bound)
        return over;
    return last[m + bound - i + 1];
}

bool sizeAllows(std::size_t termLength, std::string_view lowered, std::size_t bound) {
    if (lowered.size() + bound < termLength)
        return false;
    return lowered.size() <= termLength + bound ||
           std::any_of(lowered.begin(), lowered.end(),
                       [](char byte) { return static_cast<unsigned char>(byte) >= 0x80; });
}

} // namespace lookup
