#include "text/utf8.h"

#include <locale.h>
#include <wctype.h>

namespace text::utf8 {
namespace {

locale_t unicodeLocale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

std::size_t decode(std::string_view text, std::size_t pos, char32_t& codePoint) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(pos);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    if (length == 0 || pos + length > text.size())
        return 0;
    char32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(pos + k) & 0xC0) != 0x80)
            return 0;
        value = (value << 6) | (byte(pos + k) & 0x3F);
    }
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < kSmallest[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return 0;
    codePoint = value;
    return length;
}

void append(std::string& out, char32_t c) {
    char bytes[4];
    out.append(bytes, put(bytes, c));
}

bool isValid(std::string_view text) {
    char32_t ignored;
    for (std::size_t i = 0; i < text.size();) {
        if (static_cast<unsigned char>(text[i]) < 0x80) {
            ++i;
            continue;
        }
        const std::size_t length = decode(text, i, ignored);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

char32_t toLower(char32_t c) {
    if (c < 0x80)
        return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c;
    const locale_t locale = unicodeLocale();
    if (locale == static_cast<locale_t>(0))
        return c;
    const wint_t lowered = towlower_l(static_cast<wint_t>(c), locale);
    return lowered > 0x10FFFF ? c : static_cast<char32_t>(lowered);
}

char32_t toUpper(char32_t c) {
    if (c < 0x80)
        return c >= 'a' && c <= 'z' ? c - ('a' - 'A') : c;
    const locale_t locale = unicodeLocale();
    if (locale == static_cast<locale_t>(0))
        return c;
    const wint_t raised = towupper_l(static_cast<wint_t>(c), locale);
    return raised > 0x10FFFF ? c : static_cast<char32_t>(raised);
}

std::string toLower(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = decode(text, i, c);
        if (length == 0) {
            out += text[i++];
            continue;
        }
        append(out, toLower(c));
        i += length;
    }
    return out;
}

std::string capitalizeFirst(std::string_view text) {
    char32_t first = 0;
    const std::size_t length = text.empty() ? 0 : decode(text, 0, first);
    if (length == 0)
        return std::string(text);
    std::string out;
    out.reserve(text.size() + 2);
    append(out, toUpper(first));
    out.append(text.substr(length));
    return out;
}

} // namespace text::utf8
