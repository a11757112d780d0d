// How far a keyword's spelling is from a term's, in edits, once both are folded (letter case and
// Latin accents, text/folding.h): the optimal string alignment distance, which counts an
// insertion, a deletion or a substitution of one character, or a swap of two neighbours, as
// one edit each, and edits no character twice. Only small distances are asked for, so the work
// is bounded by them: most texts are told apart by their size or by the letters they hold, the
// rest by a band of the alignment table, left as soon as the bound is passed.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace lookup {

// The largest bound distances are computed to; larger ones count as this.
inline constexpr std::size_t kMaxSpellingEdits = 2;

// True when the text holds no byte outside ASCII.
bool isAscii(std::string_view text);

class SpellingDistance {
public:
    explicit SpellingDistance(std::string_view term);

    // The term's folded characters.
    const std::u32string& term() const { return term_; }

    // False when a lowered text of `bytes` bytes cannot be within `bound` edits of the term by
    // its size alone: a text folds to at most one character a byte, and to exactly one a byte
    // when it is ASCII (`ascii`). No branch, for a tight loop over many sizes.
    bool sizeAllows(std::size_t bytes, std::size_t bound, bool ascii) const {
        return (bytes + bound >= term_.size()) & (!ascii | (bytes <= term_.size() + bound));
    }
    // The same, looking whether the text is ASCII when `ascii` does not say so.
    bool sizeAllows(std::string_view lowered, std::size_t bound, bool ascii) const {
        return sizeAllows(lowered.size(), bound, true) ||
               (!ascii && sizeAllows(lowered.size(), bound, false) && !isAscii(lowered));
    }

    // The distance between the term and `text` (folded here, character by character, with
    // nothing allocated) when it is at most `bound`; otherwise bound + 1.
    std::size_t within(std::string_view text, std::size_t bound) const;

private:
    std::size_t aligned(std::string_view text, std::size_t bound) const;

    std::u32string term_;
    std::uint64_t letters_ = 0; // the classes of the term's characters (letterClass)
};

} // namespace lookup
