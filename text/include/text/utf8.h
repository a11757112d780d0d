// UTF-8: the one place the program encodes, decodes, checks and changes the case of UTF-8 text.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text::utf8 {

// Decodes the well-formed sequence that starts at text[pos] into `codePoint` and returns its
// length; returns 0 (leaving `codePoint` alone) for a truncated, overlong or surrogate sequence,
// a value past U+10FFFF or a stray byte.
std::size_t decode(std::string_view text, std::size_t pos, char32_t& codePoint);

// Appends the encoding of one code point (at most U+10FFFF).
void append(std::string& out, char32_t codePoint);
// Writes the encoding of one code point (at most U+10FFFF) at `at`, which has room for it (four
// bytes at most), and returns the end: for decoders that size their output once.
inline char* put(char* at, char32_t c) {
    if (c < 0x80) {
        *at = static_cast<char>(c);
        return at + 1;
    }
    if (c < 0x800) {
        at[0] = static_cast<char>(0xc0 | (c >> 6));
        at[1] = static_cast<char>(0x80 | (c & 0x3f));
        return at + 2;
    }
    if (c < 0x10000) {
        at[0] = static_cast<char>(0xe0 | (c >> 12));
        at[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
        at[2] = static_cast<char>(0x80 | (c & 0x3f));
        return at + 3;
    }
    at[0] = static_cast<char>(0xf0 | (c >> 18));
    at[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3f));
    at[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3f));
    at[3] = static_cast<char>(0x80 | (c & 0x3f));
    return at + 4;
}

// True when the whole text is well-formed UTF-8.
bool isValid(std::string_view text);

// Full Unicode simple case mapping of one code point (the C library's C.UTF-8 table; ASCII only
// where that locale is missing).
char32_t toLower(char32_t codePoint);
char32_t toUpper(char32_t codePoint);

// The text lower-cased character by character; malformed bytes are kept as they are.
std::string toLower(std::string_view text);

// The text with its first character upper-cased; unchanged when it does not start with a
// well-formed character.
std::string capitalizeFirst(std::string_view text);

// True for the C0 and C1 control characters and DEL.
inline bool isControl(char32_t c) {
    return c < 0x20 || (c >= 0x7f && c <= 0x9f);
}

} // namespace text::utf8
