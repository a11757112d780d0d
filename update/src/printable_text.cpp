#include "update/printable_text.h"

namespace update {

std::string PrintableText(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string printable;
    printable.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte != 0x7f) {
            printable += c;
        } else if (c == '\n') {
            printable += "\\n";
        } else if (c == '\r') {
            printable += "\\r";
        } else if (c == '\t') {
            printable += "\\t";
        } else {
            printable += "\\x";
            printable += kHex[byte >> 4];
            printable += kHex[byte & 0xf];
        }
    }
    return printable;
}

} // namespace update
