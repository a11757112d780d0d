// How far a keyword's spelling is from a term's, in edits, once both are folded (letter case and
// Latin accents, text/folding.h): the optimal string alignment distance, which counts an
// insertion, a deletion or a substitution of one character, or a swap of two neighbours, as
// one edit each, and edits no character twice. Only small distances are asked for, so the work
// is bounded by them: a band of the alignment table, left as soon as the bound is passed.
#pragma once

#include <cstddef>
#include <string_view>

namespace lookup {

// The largest bound the distance is computed to; larger ones count as this.
inline constexpr std::size_t kMaxSpellingEdits = 2;

// The distance between the folded term and `text` (folded here, character by character, with
// nothing allocated) when it is at most `bound`; otherwise bound + 1.
std::size_t spellingDistance(std::u32string_view foldedTerm, std::string_view text,
                             std::size_t bound);

// False when `loweredText` cannot be within `bound` edits of a term of `termLength` folded
// characters, judged by its size alone (a text folds to at most one character a byte, and to
// one exactly when it is ASCII): the test that spares almost every keyword its folding.
bool sizeAllows(std::size_t termLength, std::string_view loweredText, std::size_t bound);

} // namespace lookup
