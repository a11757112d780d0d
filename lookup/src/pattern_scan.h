// Which of many lowered keywords, packed end to end, hold a wildcard pattern's pieces in order.
// The text is taken a few thousand bytes at a time, whole keywords only. For each such stretch,
// every place where a piece occurs is marked in a bit mask, sixty-four places at a time, with no
// branch for each place; then each keyword is decided by reading the masks between its ends. A
// place marked near a keyword's end may belong to a hit that runs into the next keyword: a piece
// counts only where it ends within the keyword.
#pragma once

#include "lookup/packed_texts.h"

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace lookup {

class PatternScan {
public:
    // The pieces between the pattern's stars, in order; at least one, none empty. They outlive
    // the scan.
    explicit PatternScan(const std::vector<std::string>& pieces)
        : pieces_(pieces), marks_(pieces.size()) {}

    // Calls found(i) for every keyword i that holds the pieces in order, in order, until found
    // returns false.
    template <class Found> void run(const PackedTexts& lowered, Found& found);

    // Whether [begin, end) of the text, one keyword, holds the pieces in order, the ends free.
    static bool holdsOne(const std::vector<std::string>& pieces, std::string_view text,
                         std::size_t begin, std::size_t end);

private:
    template <std::size_t kCount, class Found>
    void runWith(const PackedTexts& lowered, Found& found);

    // Marks the places of [first, first + size) of the text where each piece occurs; false, with
    // the marking cut short, when some piece occurs nowhere there.
    bool markStretch(std::string_view text, std::size_t first, std::size_t size);

    // The 64 marks from a place of a stretch on.
    static std::uint64_t marksFrom(const std::vector<std::uint64_t>& marks, std::size_t from) {
        const std::size_t word = from / 64, shift = from % 64;
        return marks[word] >> shift | (marks[word + 1] << 1) << (63 - shift);
    }

    // One piece of a keyword shorter than 64 bytes, without a branch that depends on either:
    // `marks` are the piece's 64 marks from `from` on. Clears `all` when the piece does not fit
    // before `end`; returns where the next piece may begin.
    static std::size_t fitPiece(std::uint64_t marks, std::size_t from, std::size_t end,
                                std::size_t size, bool& all) {
        // The piece may begin at an offset below end - from, less its size but one.
        const std::size_t lastOffset = std::min<std::size_t>(size - 1, 63);
        const std::uint64_t places = ((std::uint64_t{1} << (end - from)) - 1) >> lastOffset;
        const std::uint64_t found = marks & places;
        all &= found != 0;
        return std::min(from + static_cast<std::size_t>(std::countr_zero(found)) + size, end);
    }

    // Whether the keyword at [begin, end) of a stretch, shorter than 64 bytes, holds the pieces
    // in order. kCount is the number of pieces when known at compile time, 0 otherwise.
    template <std::size_t kCount> bool holdsShort(std::size_t begin, std::size_t end) const {
        const std::size_t count = kCount != 0 ? kCount : pieces_.size();
        bool all = true;
        std::size_t from = begin;
#pragma GCC unroll 4
        for (std::size_t k = 0; k < count; ++k)
            from = fitPiece(marksFrom(marks_[k], from), from, end, pieces_[k].size(), all);
        return all;
    }

    const std::vector<std::string>& pieces_;
    std::vector<std::vector<std::uint64_t>>
        marks_; // bit p: the piece occurs at the stretch's place p
};

template <class Found> void PatternScan::run(const PackedTexts& lowered, Found& found) {
    switch (pieces_.size()) {
    case 1:
        return runWith<1>(lowered, found);
    case 2:
        return runWith<2>(lowered, found);
    default:
        return runWith<0>(lowered, found);
    }
}

template <std::size_t kCount, class Found>
void PatternScan::runWith(const PackedTexts& lowered, Found& found) {
    // A stretch small enough for its text and marks to stay in the nearest cache.
    constexpr std::size_t kStretch = 4096;
    const std::string_view text = lowered.all();
    std::size_t keyword = 0;
    std::size_t first = 0; // where the stretch's first keyword begins
    while (keyword < lowered.size()) {
        std::size_t past = keyword + 1; // the stretch's keywords are [keyword, past)
        while (past < lowered.size() && lowered.end(past) - first <= kStretch)
            ++past;
        const std::size_t size = lowered.end(past - 1) - first;
        if (markStretch(text, first, size)) {
            std::size_t begin = first;
            for (std::size_t i = keyword; i < past; ++i) {
                const std::size_t end = lowered.end(i);
                // Nearly every keyword is decided from the marks; a longer one as it lies.
                const bool holds = end - begin < 64 ? holdsShort<kCount>(begin - first, end - first)
                                                    : holdsOne(pieces_, text, begin, end);
                if (holds && !found(i))
                    return;
                begin = end;
            }
        }
        keyword = past;
        first += size;
    }
}

} // namespace lookup
