#include "augurlex-dict/text_forms.h"

#include "jet/utf8.h"

#include <charconv>
#include <cmath>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace dict {

void putInteger(OutputWriter& out, std::int64_t value) {
    char digits[24];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

bool isFinite(double value) {
    return std::isfinite(value);
}

void putDouble(OutputWriter& out, double value) {
    if (std::isnan(value)) {
        out.put("NaN");
        return;
    }
    if (std::isinf(value)) {
        out.put(value < 0 ? "-Infinity" : "Infinity");
        return;
    }
    char digits[32];
    auto result = std::to_chars(digits, digits + sizeof digits, value);
    out.put(std::string_view(digits, static_cast<std::size_t>(result.ptr - digits)));
}

void putBase64(OutputWriter& out, const jet::Bytes& bytes) {
    static constexpr char kAlphabet[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::size_t i = 0;
    char quad[4];
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t n = (bytes[i] << 16) | (bytes[i + 1] << 8) | bytes[i + 2];
        quad[0] = kAlphabet[n >> 18];
        quad[1] = kAlphabet[(n >> 12) & 63];
        quad[2] = kAlphabet[(n >> 6) & 63];
        quad[3] = kAlphabet[n & 63];
        out.put(std::string_view(quad, 4));
    }
    std::size_t rest = bytes.size() - i;
    if (rest == 0)
        return;
    std::uint32_t n = bytes[i] << 16;
    if (rest == 2)
        n |= bytes[i + 1] << 8;
    quad[0] = kAlphabet[n >> 18];
    quad[1] = kAlphabet[(n >> 12) & 63];
    quad[2] = rest == 2 ? kAlphabet[(n >> 6) & 63] : '=';
    quad[3] = '=';
    out.put(std::string_view(quad, 4));
}

void putJsonString(OutputWriter& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out.put('"');
    std::size_t plainStart = 0;
    auto flushPlain = [&](std::size_t end) {
        if (end > plainStart)
            out.put(text.substr(plainStart, end - plainStart));
    };
    for (std::size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x80 && c != '"' && c != '\\') {
            ++i;
            continue;
        }
        if (c >= 0x80) {
            char32_t ignored = 0;
            if (std::size_t length = jet::utf8::decode(text, i, ignored)) {
                i += length;
                continue;
            }
            flushPlain(i);
            out.put("\xEF\xBF\xBD");
            plainStart = ++i;
            continue;
        }
        flushPlain(i);
        switch (c) {
        case '"':
            out.put("\\\"");
            break;
        case '\\':
            out.put("\\\\");
            break;
        case '\n':
            out.put("\\n");
            break;
        case '\r':
            out.put("\\r");
            break;
        case '\t':
            out.put("\\t");
            break;
        case '\b':
            out.put("\\b");
            break;
        case '\f':
            out.put("\\f");
            break;
        default: {
            char escape[] = {'\\', 'u', '0', '0', kHex[c >> 4], kHex[c & 15]};
            out.put(std::string_view(escape, sizeof escape));
        }
        }
        plainStart = ++i;
    }
    flushPlain(text.size());
    out.put('"');
}

namespace {

#if !defined(__SSE2__)
constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Non-zero when one of the eight bytes of `word` equals `c`.
constexpr std::uint64_t anyByteIs(std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighBits;
}
#endif

// True when the text holds a character that CSV must quote. Sixteen bytes (with SSE2), then
// eight, are tested at a time: most fields need no quotes, and this test is most of what
// writing them costs.
bool needsCsvQuotes(std::string_view text) {
    std::size_t i = 0;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i quote = _mm_set1_epi8('"');
    const __m128i cr = _mm_set1_epi8('\r');
    const __m128i lf = _mm_set1_epi8('\n');
    auto anyOf = [&](const char* sixteen) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(sixteen));
        const __m128i hit =
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, comma), _mm_cmpeq_epi8(v, quote)),
                         _mm_or_si128(_mm_cmpeq_epi8(v, cr), _mm_cmpeq_epi8(v, lf)));
        return _mm_movemask_epi8(hit) != 0;
    };
    for (; i + 16 <= text.size(); i += 16)
        if (anyOf(text.data() + i))
            return true;
    // The rest, padded with zeros, in one more test.
    char rest[16] = {};
    std::memcpy(rest, text.data() + i, text.size() - i);
    return anyOf(rest);
#else
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        if (anyByteIs(word, ',') | anyByteIs(word, '"') | anyByteIs(word, '\r') |
            anyByteIs(word, '\n'))
            return true;
    }
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    }
    return false;
#endif
}

} // namespace

void putCsvField(OutputWriter& out, std::string_view text) {
    if (!text.empty() && !needsCsvQuotes(text)) {
        out.put(text);
        return;
    }
    out.put('"');
    std::size_t start = 0;
    for (std::size_t quote; (quote = text.find('"', start)) != std::string_view::npos;
         start = quote + 1) {
        out.put(text.substr(start, quote + 1 - start));
        out.put('"');
    }
    out.put(text.substr(start));
    out.put('"');
}

} // namespace dict
