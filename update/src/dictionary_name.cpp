#include "update/dictionary_name.h"

#include "store/program_files.h"
#include "text/utf8.h"

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

} // namespace

std::optional<std::string> unsafeDictionaryName(const std::string& names) {
    const std::string name = text::utf8::toLower(names);
    const std::string quoted = "the dictionary name \"" + names + "\"";
    if (name.empty())
        return std::string("the dictionary name is empty");
    if (name == "." || name == "..")
        return quoted + " is not a file name";
    if (name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
        return quoted + " holds a path separator";
    if (holdsControlCharacter(name))
        return std::string("the dictionary name holds a control character");
    const std::string file = store::dictionaryFileName(names);
    if (file == store::kCatalogueFileName || file == store::kTemplateFileName)
        return quoted + " is the name of one of the program's own files";
    if (name.size() > kMaxDictionaryNameBytes)
        return "the dictionary name is longer than " + std::to_string(kMaxDictionaryNameBytes) +
               " bytes";
    return std::nullopt;
}

std::string displayName(const std::string& names) {
    return text::utf8::capitalizeFirst(names);
}

} // namespace update
