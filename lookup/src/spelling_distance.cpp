#include "spelling_distance.h"

#include "text/folding.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace lookup {

namespace {

// Characters fall in 64 classes, one bit each, a letter's two cases in one; characters sharing a
// class only make the letter test below weaker, never wrong.
std::uint64_t letterClass(char32_t c) {
    return std::uint64_t{1} << ((c | 0x20) & 63);
}

// Whether more than `count` bits are set.
bool moreBitsThan(std::uint64_t bits, std::size_t count) {
    for (std::size_t k = 0; k <= count; ++k) {
        if (bits == 0)
            return false;
        bits &= bits - 1;
    }
    return true;
}

// Reads the next character of a text, folded: ASCII, by far the most common, without a call.
std::size_t nextFolded(std::string_view text, std::size_t& pos,
                       char32_t (&folded)[text::kMaxFoldedCharacters]) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte >= 0x80)
        return text::foldNext(text, pos, folded);
    ++pos;
    folded[0] = byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
    return 1;
}

} // namespace

bool isAscii(std::string_view text) {
    std::uint64_t high = 0;
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        high |= word;
    }
    for (; i < text.size(); ++i)
        high |= static_cast<unsigned char>(text[i]);
    return (high & 0x8080808080808080) == 0;
}

SpellingDistance::SpellingDistance(std::string_view term) : term_(text::foldedCharacters(term)) {
    for (char32_t c : term_)
        letters_ |= letterClass(c);
}

// Each class of characters the text holds and the term does not takes an insertion or a
// substitution, each the term holds and the text does not a deletion or a substitution.
std::size_t SpellingDistance::within(std::string_view text, std::size_t bound) const {
    bound = std::min(bound, kMaxSpellingEdits);
    std::uint64_t letters = 0;
    std::size_t pos = 0;
    // ASCII needs no folding for its class: a plain loop over the bytes, without a branch.
    for (; pos < text.size() && static_cast<unsigned char>(text[pos]) < 0x80; ++pos)
        letters |= letterClass(static_cast<unsigned char>(text[pos]));
    char32_t folded[text::kMaxFoldedCharacters];
    while (pos < text.size()) {
        const std::size_t count = text::foldNext(text, pos, folded);
        for (std::size_t k = 0; k < count; ++k)
            letters |= letterClass(folded[k]);
    }
    if (moreBitsThan(letters & ~letters_, bound) || moreBitsThan(letters_ & ~letters, bound))
        return bound + 1;
    return aligned(text, bound);
}

// Row i of the table holds the distances between the text's first i characters and the term's
// first j, for the j no further than `bound` from i: cell d is j = i + d - bound, and the cells
// at both ends of the array, never written, stand for the cells outside the band.
std::size_t SpellingDistance::aligned(std::string_view text, std::size_t bound) const {
    using Row = std::array<std::size_t, 2 * kMaxSpellingEdits + 3>;
    const std::size_t over = bound + 1, width = 2 * bound + 1, m = term_.size();
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
        const std::size_t count = nextFolded(text, pos, folded);
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
                    cell = std::min(cell, last[d + 1] + (c != term_[j - 1]));
                if (i > 1 && j > 1 && c == term_[j - 2] && previous == term_[j - 1])
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

} // namespace lookup
