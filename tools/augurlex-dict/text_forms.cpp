#include "augurlex-dict/text_forms.h"

#include "jet/utf8.h"

#include <charconv>
#include <cmath>

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

// True when the text holds a character that CSV must quote. (A plain loop: find_first_of
// searches the set once per character.)
static bool needsCsvQuotes(std::string_view text) {
    for (char c : text)
        if (c == ',' || c == '"' || c == '\r' || c == '\n')
            return true;
    return false;
}

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
