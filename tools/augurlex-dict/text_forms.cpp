#include "augurlex-dict/text_forms.h"

#include "text/utf8.h"

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
            if (std::size_t length = text::utf8::decode(text, i, ignored)) {
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

constexpr std::uint64_t kOnes = 0x0101010101010101ull;
constexpr std::uint64_t kHighBits = 0x8080808080808080ull;

// Non-zero when one of the eight bytes of `word` equals `c`.
constexpr std::uint64_t anyByteIs(std::uint64_t word, char c) {
    const std::uint64_t x = word ^ (kOnes * static_cast<unsigned char>(c));
    return (x - kOnes) & ~x & kHighBits;
}

bool anyCsvSpecial(std::uint64_t word) {
    return (anyByteIs(word, ',') | anyByteIs(word, '"') | anyByteIs(word, '\r') |
            anyByteIs(word, '\n')) != 0;
}

template <class Word> Word load(const char* at) {
    Word word;
    std::memcpy(&word, at, sizeof word);
    return word;
}

// True when the text holds a character that CSV must quote. Most fields need no quotes, and this
// test is most of what writing them costs, so it reads sixteen bytes (with SSE2) or eight at a
// time, the last read overlapping the one before rather than going byte by byte.
bool needsCsvQuotes(std::string_view text) {
    const char* p = text.data();
    const std::size_t n = text.size();
#if defined(__SSE2__)
    if (n >= 16) {
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
        std::size_t i = 0;
        for (; i + 16 <= n; i += 16)
            if (anyOf(p + i))
                return true;
        return i < n && anyOf(p + n - 16);
    }
#endif
    if (n >= 8) {
        std::size_t i = 0;
        for (; i + 8 <= n; i += 8)
            if (anyCsvSpecial(load<std::uint64_t>(p + i)))
                return true;
        return i < n && anyCsvSpecial(load<std::uint64_t>(p + n - 8));
    }
    if (n >= 4) // two reads of four, overlapping
        return anyCsvSpecial(load<std::uint32_t>(p) | std::uint64_t{load<std::uint32_t>(p + n - 4)}
                                                          << 32);
    for (std::size_t i = 0; i < n; ++i)
        if (p[i] == ',' || p[i] == '"' || p[i] == '\r' || p[i] == '\n')
            return true;
    return false;
}

} // namespace

void quoteCsvFieldFrom(std::string& text, std::size_t start) {
    const std::string_view field = std::string_view(text).substr(start);
    if (!field.empty() && !needsCsvQuotes(field))
        return;
    const std::string plain(field);
    text.resize(start);
    text += '"';
    std::size_t from = 0;
    for (std::size_t quote; (quote = plain.find('"', from)) != std::string::npos;
         from = quote + 1) {
        text.append(plain, from, quote + 1 - from);
        text += '"';
    }
    text.append(plain, from);
    text += '"';
}

void putCsvField(OutputWriter& out, std::string_view text) {
    putCsvFieldAppended(out, [&](std::string& into) {
        into.append(text);
        return true;
    });
}

} // namespace dict
