#include "update/dictionary_name.h"

#include "store/modDB.h"

#include <locale.h>
#include <wctype.h>

namespace update {

namespace {

// Length of the UTF-8 sequence that starts with `lead` (1 for a stray byte).
std::size_t sequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead < 0xF8)
        return 4;
    if (lead >= 0xE0)
        return lead < 0xF0 ? 3 : 1;
    if (lead >= 0xC0)
        return 2;
    return 1;
}

bool isControlCharacter(const std::string& text, std::size_t i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c < 0x20 || c == 0x7F)
        return true;
    // U+0080 to U+009F, the second block of control characters, are C2 80 to C2 9F.
    return c == 0xC2 && i + 1 < text.size() && static_cast<unsigned char>(text[i + 1]) >= 0x80 &&
           static_cast<unsigned char>(text[i + 1]) <= 0x9F;
}

locale_t utf8Locale() {
    static const locale_t locale = newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(0));
    return locale;
}

} // namespace

std::optional<std::string> UnsafeDictionaryName(const std::string& names) {
    const std::string name = modDB::LowerUtf8(names);
    const std::string quoted = "the dictionary name \"" + names + "\"";
    if (name.empty())
        return std::string("the dictionary name is empty");
    if (name == "." || name == "..")
        return quoted + " is not a file name";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return quoted + " holds a path separator";
    for (std::size_t i = 0; i < name.size(); ++i) {
        if (isControlCharacter(name, i))
            return "the dictionary name holds a control character";
    }
    if (name == "divination" || name == "clone")
        return quoted + " is the name of one of the program's own files";
    if (name.size() > kMaxDictionaryNameBytes)
        return "the dictionary name is longer than " + std::to_string(kMaxDictionaryNameBytes) +
               " bytes";
    return std::nullopt;
}

std::string DisplayName(const std::string& names) {
    if (names.empty())
        return names;
    const unsigned char lead = static_cast<unsigned char>(names[0]);
    if (lead < 0x80) {
        std::string out = names;
        if (lead >= 'a' && lead <= 'z')
            out[0] = static_cast<char>(lead - ('a' - 'A'));
        return out;
    }
    const std::size_t length = sequenceLength(lead);
    if (length == 1 || length > names.size())
        return names;
    char32_t code = lead & (0x7F >> length);
    for (std::size_t k = 1; k < length; ++k) {
        unsigned char next = static_cast<unsigned char>(names[k]);
        if ((next & 0xC0) != 0x80)
            return names;
        code = (code << 6) | (next & 0x3F);
    }
    locale_t locale = utf8Locale();
    if (locale == static_cast<locale_t>(0))
        return names;
    const char32_t upper = static_cast<char32_t>(towupper_l(static_cast<wint_t>(code), locale));
    if (upper == code || upper > 0x10FFFF)
        return names;
    std::string first;
    if (upper < 0x80) {
        first += static_cast<char>(upper);
    } else if (upper < 0x800) {
        first += static_cast<char>(0xC0 | (upper >> 6));
        first += static_cast<char>(0x80 | (upper & 0x3F));
    } else if (upper < 0x10000) {
        first += static_cast<char>(0xE0 | (upper >> 12));
        first += static_cast<char>(0x80 | ((upper >> 6) & 0x3F));
        first += static_cast<char>(0x80 | (upper & 0x3F));
    } else {
        first += static_cast<char>(0xF0 | (upper >> 18));
        first += static_cast<char>(0x80 | ((upper >> 12) & 0x3F));
        first += static_cast<char>(0x80 | ((upper >> 6) & 0x3F));
        first += static_cast<char>(0x80 | (upper & 0x3F));
    }
    return first + names.substr(length);
}

} // namespace update
