#include "read/text_decoder.h"

#include "text/utf8.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jet::detail {

namespace {

// Writes the UTF-8 of UTF-16 code units, pairing surrogates, into memory sized beforehand for
// the most the units can take: three bytes a unit (four for a pair of two). Writing through a
// pointer, not a byte at a time into a growing string, is what makes non-Latin text fast.
class Utf8Writer {
public:
    explicit Utf8Writer(char* at) : at_(at) {}
    void put(std::uint16_t unit) {
        if (unit < 0x80 && !high_) { // ASCII needs no encoding
            *at_++ = static_cast<char>(unit);
            return;
        }
        if (unit >= 0xdc00 && unit < 0xe000 && high_) {
            putCodePoint(0x10000 + ((char32_t{high_} - 0xd800) << 10) + (unit - 0xdc00));
            high_ = 0;
            return;
        }
        flush();
        if (unit >= 0xd800 && unit < 0xdc00)
            high_ = unit;
        else if (unit >= 0xdc00 && unit < 0xe000)
            putCodePoint(kReplacementCharacter);
        else
            putCodePoint(unit);
    }
    // A run of ASCII code units, which need no pairing and no conversion.
    void putAscii(const std::uint8_t* units, std::size_t count) {
        flush();
        std::memcpy(at_, units, count);
        at_ += count;
    }
    // Ends the text: an unpaired high surrogate becomes U+FFFD. Returns the end of what was
    // written.
    char* finish() {
        flush();
        return at_;
    }

private:
    void flush() {
        if (high_)
            putCodePoint(kReplacementCharacter);
        high_ = 0;
    }
    void putCodePoint(char32_t c) { at_ = text::utf8::put(at_, c); }
    char* at_;
    std::uint16_t high_ = 0;
};

// Grows `out` once by `most` bytes, lets `write` fill them from the old end and returns the new
// end, then cuts `out` to what was written.
template <class Write> void appendAtMost(std::string& out, std::size_t most, Write write) {
    const std::size_t start = out.size();
    out.resize(start + most);
    char* const end = write(out.data() + start);
    out.resize(static_cast<std::size_t>(end - out.data()));
}

// Where the run of ASCII bytes (no zero, no high bit) starting at `i` ends; sixteen bytes (with
// SSE2), then eight, are tested at a time.
std::size_t asciiRunEnd(ByteSpan bytes, std::size_t i) {
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128();
    for (; i + 16 <= bytes.size(); i += 16) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes.data() + i));
        const int stops = _mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero));
        if (stops != 0)
            return i + static_cast<std::size_t>(__builtin_ctz(static_cast<unsigned>(stops)));
    }
#endif
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highBits = 0x8080808080808080ull;
    for (; i + 8 <= bytes.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, bytes.data() + i, 8);
        if ((word | ((word - ones) & ~word)) & highBits)
            break;
    }
    while (i < bytes.size() && bytes[i] != 0 && bytes[i] < 0x80)
        ++i;
    return i;
}

// Whether all `n` bytes at `p` are ASCII but zero: the common case. The last read overlaps the
// one before rather than going byte by byte.
bool allPlainAscii(const std::uint8_t* p, std::size_t n) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highBits = 0x8080808080808080ull;
    auto plain = [&](std::uint64_t word) {
        return ((word | ((word - ones) & ~word)) & highBits) == 0;
    };
    auto load8 = [](const std::uint8_t* at) {
        std::uint64_t word;
        std::memcpy(&word, at, 8);
        return word;
    };
#if defined(__SSE2__)
    if (n >= 16) {
        const __m128i zero = _mm_setzero_si128();
        auto plain16 = [&](const std::uint8_t* at) {
            const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
            return (_mm_movemask_epi8(v) | _mm_movemask_epi8(_mm_cmpeq_epi8(v, zero))) == 0;
        };
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16)
            if (!plain16(p + i))
                return false;
        return i == n || plain16(p + n - 16);
    }
#endif
    if (n >= 8) {
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8)
            if (!plain(load8(p + i)))
                return false;
        return i == n || plain(load8(p + n - 8));
    }
    if (n >= 4) {
        std::uint32_t low;
        std::uint32_t high;
        std::memcpy(&low, p, 4);
        std::memcpy(&high, p + n - 4, 4);
        return plain(low | std::uint64_t{high} << 32);
    }
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] == 0 || p[i] >= 0x80)
            return false;
    return true;
}

} // namespace

void appendUcs2(std::string& out, ByteSpan bytes) {
    const std::size_t units = bytes.size() / 2;
    appendAtMost(out, units * 3, [&](char* at) {
        const std::uint8_t* unit = bytes.data();
        for (std::size_t k = 0; k < units; ++k, unit += 2) {
            const std::uint32_t u = le16(unit);
            if ((u & 0xf800) != 0xd800) {
                // No branch on the length (arithmetic, as a conditional here is compiled to
                // one): text that mixes scripts (Hangul and spaces, digits) would mispredict it
                // at nearly every character. Three bytes are written, the first `length` of them
                // count; there is room, as every unit has three.
                const std::uint32_t two = u >= 0x80, three = u >= 0x800;
                const std::uint32_t extra = two + three; // bytes after the first
                const std::uint32_t length = 1 + extra;
                at[0] = static_cast<char>(((0xe0c000u >> (8 * extra)) & 0xff) | (u >> (6 * extra)));
                at[1] = static_cast<char>(0x80 | ((u >> (6 * three)) & 0x3f));
                at[2] = static_cast<char>(0x80 | (u & 0x3f));
                at += length;
            } else if (u < 0xdc00 && k + 1 < units && le16(unit + 2) >= 0xdc00 &&
                       le16(unit + 2) < 0xe000) {
                const char32_t low = le16(unit + 2);
                at = text::utf8::put(at, 0x10000 + ((char32_t{u} - 0xd800) << 10) + (low - 0xdc00));
                ++k;
                unit += 2;
            } else { // a surrogate without its other half
                at = text::utf8::put(at, kReplacementCharacter);
            }
        }
        return at;
    });
}

void appendJet4Text(std::string& out, ByteSpan bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xff || bytes[1] != 0xfe) {
        appendUcs2(out, bytes);
        return;
    }
    // Most text is ASCII throughout: one copy.
    if (allPlainAscii(bytes.data() + 2, bytes.size() - 2)) {
        out.append(reinterpret_cast<const char*>(bytes.data()) + 2, bytes.size() - 2);
        return;
    }
    // A 0x00 byte toggles between one-byte characters (high byte zero) and plain UCS-2. A byte
    // becomes at most two bytes of UTF-8, a unit of two bytes at most three.
    appendAtMost(out, (bytes.size() - 2) * 2, [&](char* at) {
        Utf8Writer writer(at);
        bool compressed = true;
        std::size_t i = 2;
        while (i < bytes.size()) {
            if (bytes[i] == 0) {
                compressed = !compressed;
                ++i;
            } else if (compressed) {
                // Most text is ASCII: take the whole run at once.
                const std::size_t end = asciiRunEnd(bytes, i);
                if (end > i) {
                    writer.putAscii(bytes.data() + i, end - i);
                    i = end;
                } else {
                    writer.put(bytes[i]);
                    ++i;
                }
            } else if (i + 1 < bytes.size()) {
                writer.put(le16(bytes.data() + i));
                i += 2;
            } else {
                break;
            }
        }
        return writer.finish();
    });
}

} // namespace jet::detail
