#include "text/printable_text.h"

#include "text/utf8.h"

namespace text {

namespace {

const char kHex[] = "0123456789abcdef";

// Unicode's general category Cf (format characters), as of Unicode 15.
bool isFormat(char32_t c) {
    static constexpr char32_t kRanges[][2] = {
        {0xad, 0xad},       {0x600, 0x605},     {0x61c, 0x61c},     {0x6dd, 0x6dd},
        {0x70f, 0x70f},     {0x890, 0x891},     {0x8e2, 0x8e2},     {0x180e, 0x180e},
        {0x200b, 0x200f},   {0x202a, 0x202e},   {0x2060, 0x2064},   {0x2066, 0x206f},
        {0xfeff, 0xfeff},   {0xfff9, 0xfffb},   {0x110bd, 0x110bd}, {0x110cd, 0x110cd},
        {0x13430, 0x1343f}, {0x1bca0, 0x1bca3}, {0x1d173, 0x1d17a}, {0xe0001, 0xe0001},
        {0xe0020, 0xe007f}};
    for (const auto& [first, last] : kRanges)
        if (c >= first && c <= last)
            return true;
    return false;
}

void appendEscape(std::string& out, char32_t c) {
    const int digits = c > 0xffff ? 8 : 4;
    out += digits == 8 ? "\\U" : "\\u";
    for (int shift = (digits - 1) * 4; shift >= 0; shift -= 4)
        out += kHex[(c >> shift) & 0xf];
}

} // namespace

std::string printableText(std::string_view text) {
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t c = 0;
        const std::size_t length = byte < 0x80 ? 0 : text::utf8::decode(text, at, c);
        if (length > 0) {
            // C1 controls too: some terminals act on them as on escape sequences.
            if (text::utf8::isControl(c) || isFormat(c))
                appendEscape(printable, c);
            else
                printable.append(text, at, length);
            at += length;
            continue;
        }
        ++at;
        if (byte >= 0x20 && byte < 0x7f) {
            printable += static_cast<char>(byte);
        } else if (byte == '\n') {
            printable += "\\n";
        } else if (byte == '\r') {
            printable += "\\r";
        } else if (byte == '\t') {
            printable += "\\t";
        } else {
            printable += "\\x";
            printable += kHex[byte >> 4];
            printable += kHex[byte & 0xf];
        }
    }
    return printable;
}

} // namespace text
