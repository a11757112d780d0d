#include "read/text_decoder.h"

#include "text/utf8.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace jet::detail {

namespace {

// Feeds UTF-16 code units, pairing surrogates.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    ~Utf16Sink() { flush(); }
    void put(std::uint16_t unit) {
        if (unit < 0x80 && !high_) { // ASCII needs no encoding
            out_.push_back(static_cast<char>(unit));
            return;
        }
        if (unit >= 0xdc00 && unit < 0xe000 && high_) {
            text::utf8::append(out_,
                               0x10000 + ((char32_t{high_} - 0xd800) << 10) + (unit - 0xdc00));
            high_ = 0;
            return;
        }
        flush();
        if (unit >= 0xd800 && unit < 0xdc00)
            high_ = unit;
        else if (unit >= 0xdc00 && unit < 0xe000)
            text::utf8::append(out_, kReplacementCharacter);
        else
            text::utf8::append(out_, unit);
    }
    // A run of ASCII code units, which need no pairing and no conversion.
    void putAscii(const std::uint8_t* units, std::size_t count) {
        flush();
        out_.append(reinterpret_cast<const char*>(units), count);
    }

private:
    void flush() {
        if (high_)
            text::utf8::append(out_, kReplacementCharacter);
        high_ = 0;
    }
    std::string& out_;
    std::uint16_t high_ = 0;
};

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
    out.reserve(out.size() + bytes.size() / 2);
    Utf16Sink sink(out);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        sink.put(le16(bytes.data() + i));
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
    out.reserve(out.size() + bytes.size());
    // A 0x00 byte toggles between one-byte characters (high byte zero) and plain UCS-2.
    Utf16Sink sink(out);
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
                sink.putAscii(bytes.data() + i, end - i);
                i = end;
            } else {
                sink.put(bytes[i]);
                ++i;
            }
        } else if (i + 1 < bytes.size()) {
            sink.put(le16(bytes.data() + i));
            i += 2;
        } else {
            break;
        }
    }
}

} // namespace jet::detail
