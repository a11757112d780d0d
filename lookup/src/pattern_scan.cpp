#include "pattern_scan.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace lookup {

namespace {

// The places among the 64 from `at` where the piece occurs whole in the text. The sixteen-byte
// loads compare up to four of the piece's bytes (its first three and its last), which decides a
// piece of up to four bytes; a longer one has its other bytes compared at the few places left.
std::uint64_t placesOf(std::string_view piece, std::string_view text, std::size_t at) {
    const std::size_t size = piece.size();
#if defined(__SSE2__)
    if (at + 64 + size - 1 <= text.size()) {
        const std::size_t offsets[] = {0, 1, 2, size - 1};
        const std::size_t compared = std::min<std::size_t>(size, 4);
        const char* const data = text.data() + at;
        const auto load = [data](std::size_t from) {
            return _mm_loadu_si128(reinterpret_cast<const __m128i*>(data + from));
        };
        __m128i wanted = _mm_set1_epi8(piece[0]);
        __m128i lane0 = _mm_cmpeq_epi8(load(0), wanted), lane1 = _mm_cmpeq_epi8(load(16), wanted);
        __m128i lane2 = _mm_cmpeq_epi8(load(32), wanted), lane3 = _mm_cmpeq_epi8(load(48), wanted);
        for (std::size_t k = 1; k < compared; ++k) {
            const std::size_t offset = offsets[k];
            wanted = _mm_set1_epi8(piece[offset]);
            lane0 = _mm_and_si128(lane0, _mm_cmpeq_epi8(load(offset), wanted));
            lane1 = _mm_and_si128(lane1, _mm_cmpeq_epi8(load(offset + 16), wanted));
            lane2 = _mm_and_si128(lane2, _mm_cmpeq_epi8(load(offset + 32), wanted));
            lane3 = _mm_and_si128(lane3, _mm_cmpeq_epi8(load(offset + 48), wanted));
        }
        const auto bits = [](__m128i lane) {
            return static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(lane)));
        };
        std::uint64_t places =
            bits(lane0) | bits(lane1) << 16 | bits(lane2) << 32 | bits(lane3) << 48;
        if (size > 4) {
            for (std::uint64_t left = places; left != 0; left &= left - 1) {
                const auto place = static_cast<std::size_t>(std::countr_zero(left));
                if (std::memcmp(text.data() + at + place + 3, piece.data() + 3, size - 4) != 0)
                    places &= ~(std::uint64_t{1} << place);
            }
        }
        return places;
    }
#endif
    std::uint64_t places = 0;
    for (std::size_t place = 0; place < 64 && at + place + size <= text.size(); ++place) {
        if (text.compare(at + place, size, piece) == 0)
            places |= std::uint64_t{1} << place;
    }
    return places;
}

} // namespace

PatternScan::PatternScan(const std::vector<std::string>& pieces) {
    for (const std::string& piece : pieces)
        pieces_.push_back({piece, {}, std::min<std::size_t>(piece.size() - 1, 63)});
}

bool PatternScan::markStretch(std::string_view text, std::size_t first, std::size_t size) {
    const std::size_t words = (size + 63) / 64;
    for (Piece& piece : pieces_) {
        // Two more: 64 marks are read from any place up to the end.
        if (piece.marks.size() < words + 2)
            piece.marks.resize(words + 2);
        std::uint64_t anywhere = 0;
        for (std::size_t word = 0; word < words; ++word) {
            piece.marks[word] = placesOf(piece.text, text, first + 64 * word);
            anywhere |= piece.marks[word];
        }
        if (anywhere == 0)
            return false;
    }
    return true;
}

} // namespace lookup
