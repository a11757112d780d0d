// Turning UTF-8 text into the forms Jet 4 stores.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace jet::detail {

// UTF-16 code units of UTF-8 text; ErrorKind Invalid for malformed UTF-8.
std::u16string utf8ToUtf16(std::string_view utf8);
// How many of them there are, without making them.
std::size_t utf16Length(std::string_view utf8);

// Little-endian UTF-16, as names and uncompressed text are stored.
std::vector<std::uint8_t> encodeUcs2(std::string_view utf8);

// A text or memo value as a row stores it. With `allowCompression`, text whose characters all
// fit one byte is stored in the compressed form (a 0xFF 0xFE marker and one byte a character)
// when that is shorter.
std::vector<std::uint8_t> encodeJet4Text(std::string_view utf8, bool allowCompression);

// Jet 3 text: the database's code page, one or two bytes a character. ErrorKind Invalid for a
// character the code page cannot hold.
std::vector<std::uint8_t> encodeCodePageText(std::string_view utf8, std::uint16_t codePage);

} // namespace jet::detail
