// Jet 4 text to UTF-8: UCS-2 as stored, plain or in Jet's compressed form.
#pragma once

#include "file/bytes.h"

#include <string>

namespace jet::detail {

// What malformed text decodes to.
inline constexpr char32_t kReplacementCharacter = 0xfffd;

// UTF-16 little-endian (unpaired surrogates become U+FFFD); an odd last byte is ignored.
void appendUcs2(std::string& out, ByteSpan bytes);
// Jet 4 text: compressed when it starts with FF FE, else plain UCS-2.
void appendJet4Text(std::string& out, ByteSpan bytes);

} // namespace jet::detail
