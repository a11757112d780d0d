#include "update/dictionary_name.h"

#include "store/program_files.h"
#include "text/utf8.h"

#include <algorithm>

namespace update {

namespace {

bool holdsControlCharacter(const std::string& text) {
    for (std::size_t i = 0; i < text.size();) {
        char32_t c = 0;
        const std::size_t length = text::utf8::decode(text, i, c);
        if (length == 0) { // a stray byte is no character at all
            ++i;
            continue;
        }
        if (text::utf8::isControl(c))
            return true;
        i += length;
    }
    return false;
}

// Unicode's White_Space characters other than the controls (which a name may not hold at all).
bool isSpace(char32_t c) {
    return c == 0x20 || c == 0xa0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200a) || c == 0x2028 ||
           c == 0x2029 || c == 0x202f || c == 0x205f || c == 0x3000;
}

} // namespace

std::string trimmedName(const std::string& names) {
    std::size_t begin = 0, end = 0;
    bool started = false;
    for (std::size_t i = 0; i < names.size();) {
        char32_t c = 0;
        std::size_t length = text::utf8::decode(names, i, c);
        const bool space = length > 0 && isSpace(c);
        length = std::max<std::size_t>(length, 1);
        if (!space) {
            if (!started)
                begin = i;
            started = true;
            end = i + length;
        }
        i += length;
    }
    return started ? names.substr(begin, end - begin) : std::string();
}

std::string dictionaryKey(const std::string& names) {
    return text::utf8::toLower(trimmedName(names));
}

std::optional<std::string> unsafeDictionaryName(const std::string& names) {
    const std::string name = dictionaryKey(names);
    const std::string quoted = "the dictionary name \"" + names + "\"";
    if (name.empty())
        return std::string("the dictionary name is empty");
    if (name == "." || name == "..")
        return quoted + " is not a file name";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return quoted + " holds a path separator";
    if (name.front() == '.')
        return quoted + " starts with a dot, which would make its file hidden";
    if (holdsControlCharacter(name))
        return std::string("the dictionary name holds a control character");
    const std::string file = store::dictionaryFileName(name);
    if (file == store::kCatalogueFileName || file == store::kTemplateFileName)
        return quoted + " is the name of one of the program's own files";
    if (name.size() > kMaxDictionaryNameBytes)
        return "the dictionary name is longer than " + std::to_string(kMaxDictionaryNameBytes) +
               " bytes";
    return std::nullopt;
}

std::string displayName(const std::string& names) {
    return text::utf8::capitalizeFirst(trimmedName(names));
}

} // namespace update
