#include "read/names.h"

#include "text/utf8.h"

namespace jet::detail {

namespace {

// Next code point of UTF-8 text; malformed bytes stand for themselves.
char32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto lead = static_cast<unsigned char>(s[i]);
    char32_t codePoint = lead;
    const std::size_t length = lead < 0x80 ? 1 : text::utf8::decode(s, i, codePoint);
    i += length == 0 ? 1 : length;
    return codePoint;
}

char32_t foldCase(char32_t cp) {
    if ((cp >= 'A' && cp <= 'Z') || (cp >= 0xc0 && cp <= 0xde && cp != 0xd7) ||
        (cp >= 0x391 && cp <= 0x3a9) || (cp >= 0x410 && cp <= 0x42f))
        return cp + 0x20;
    if (cp >= 0x400 && cp <= 0x40f)
        return cp + 0x50;
    return cp;
}

} // namespace

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    std::size_t j = 0;
    while (i < a.size() && j < b.size())
        if (foldCase(nextCodePoint(a, i)) != foldCase(nextCodePoint(b, j)))
            return false;
    return i == a.size() && j == b.size();
}

int columnPosition(const std::vector<Column>& columns, std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (equalsIgnoringCase(columns[i].name, name))
            return static_cast<int>(i);
    return -1;
}

} // namespace jet::detail
