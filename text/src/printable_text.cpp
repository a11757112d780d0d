#include "text/printable_text.h"

#include "text/utf8.h"

namespace text {

std::string printableText(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(text.size());
    for (std::size_t at = 0; at < text.size();) {
        const auto byte = static_cast<unsigned char>(text[at]);
        char32_t c = 0;
        const std::size_t length = byte < 0x80 ? 0 : text::utf8::decode(text, at, c);
        if (length > 0) {
            // C1 controls too: some terminals act on them as on escape sequences.
            if (text::utf8::isControl(c))
                printable += std::string("\\u00") + kHex[c >> 4] + kHex[c & 0xf];
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
