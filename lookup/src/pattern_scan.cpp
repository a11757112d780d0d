#include "pattern_scan.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lookup {

namespace {

// The places among the 16 × kLanes (1 or 4) from `at` where the piece occurs whole in the text. The
// sixteen-byte loads compare up to four of the piece's bytes (its first three and its last), which
// decides a piece of up to four bytes; a longer one has its other bytes compared at the few places
// left.
template <std::size_t kLanes>
[[gnu::always_inline]] inline std::uint64_t placesOf(std::string_view piece, std::string_view text,
                                                     std::size_t at) {
    constexpr std::size_t kPlaces = 16 * kLanes;
    const std::size_t size = piece.size();
#if defined(__SSE2__)
    if (at + kPlaces + size - 1 <= text.size()) {
        const std::size_t offsets[] = {0, 1, 2, size - 1};
        const std::size_t compared = std::min<std::size_t>(size, 4);
        const char* const data = text.data() + at;
        // The places from `place` on where the byte at `offset` of the piece is as it should be.
        const auto same = [data, piece](std::size_t offset, std::size_t place) {
            const __m128i bytes =
                _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + offset + place));
            return _mm_cmpeq_epi8(bytes, _mm_set1_epi8(piece[offset]));
        };
        // Four lanes kept by name, so that they stay in registers.
        __m128i lane0 = same(0, 0), lane1 = lane0, lane2 = lane0, lane3 = lane0;
        if constexpr (kLanes == 4) {
            lane1 = same(0, 16);
            lane2 = same(0, 32);
            lane3 = same(0, 48);
        }
        for (std::size_t k = 1; k < compared; ++k) {
            lane0 = _mm_and_si128(lane0, same(offsets[k], 0));
            if constexpr (kLanes == 4) {
                lane1 = _mm_and_si128(lane1, same(offsets[k], 16));
                lane2 = _mm_and_si128(lane2, same(offsets[k], 32));
                lane3 = _mm_and_si128(lane3, same(offsets[k], 48));
            }
        }
        const auto bits = [](__m128i lane) {
            return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(lane)));
        };
        std::uint64_t places = bits(lane0);
        if constexpr (kLanes == 4)
            places |= bits(lane1) << 16 | bits(lane2) << 32 | bits(lane3) << 48;
        if (size > 4) {
            for (std::uint64_t left = places; left != 0; left &= left - 1) {
                const auto place = static_cast<std::size_t>(std::countr_zero(left));
                if (std::memcmp(data + place + 3, piece.data() + 3, size - 4) != 0)
                    places &= ~(std::uint64_t{1} << place);
            }
        }
        return places;
    }
#endif
    std::uint64_t places = 0;
    for (std::size_t place = 0; place < kPlaces && at + place + size <= text.size(); ++place) {
        if (text.compare(at + place, size, piece) == 0)
            places |= std::uint64_t{1} << place;
    }
    return places;
}

// Whether the pieces occur in order within [begin, end) of a text, each after the one before it.
// The ends are free, so the first place of each piece is as good as any later one.
bool piecesInOrder(const std::vector<std::string>& pieces, std::string_view text, std::size_t begin,
                   std::size_t end) {
    const std::string_view within = text.substr(0, end);
    std::size_t from = begin;
    for (const std::string& piece : pieces) {
        const std::size_t at = within.find(piece, from);
        if (at == std::string_view::npos)
            return false;
        from = at + piece.size();
    }
    return true;
}

} // namespace

bool PatternScan::holdsOne(const std::vector<std::string>& pieces, std::string_view text,
                           std::size_t begin, std::size_t end) {
    // A short keyword with text enough after it for the loads is marked and decided as a scan
    // does it; any other piece by piece.
    const std::size_t size = end - begin;
    if (size >= 64 || begin + 64 + 63 > text.size())
        return piecesInOrder(pieces, text, begin, end);
    bool all = true;
    std::size_t from = 0;
    for (const std::string& piece : pieces) {
        const std::uint64_t marks =
            size <= 16 ? placesOf<1>(piece, text, begin) : placesOf<4>(piece, text, begin);
        from = fitPiece(marks >> from, from, size, piece.size(), all); // from < 64
    }
    return all;
}

bool PatternScan::markStretch(std::string_view text, std::size_t first, std::size_t size) {
    const std::size_t words = (size + 63) / 64;
    for (std::size_t k = 0; k < pieces_.size(); ++k) {
        std::vector<std::uint64_t>& marks = marks_[k];
        // Two more: 64 marks are read from any place up to the end.
        if (marks.size() < words + 2)
            marks.resize(words + 2);
        std::uint64_t anywhere = 0;
        for (std::size_t word = 0; word < words; ++word) {
            marks[word] = placesOf<4>(pieces_[k], text, first + 64 * word);
            anywhere |= marks[word];
        }
        if (anywhere == 0)
            return false;
    }
    return true;
}

} // namespace lookup
