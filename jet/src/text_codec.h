// Text as Jet stores it, to UTF-8: Jet 4 UCS-2 (plain or compressed) and Jet 3 code-page bytes.
#pragma once

#include "bytes.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

namespace jet::detail {

void appendUtf8(std::string& out, std::uint32_t codePoint);
// UTF-16 little-endian (unpaired surrogates become U+FFFD); an odd last byte is ignored.
void appendUcs2(std::string& out, ByteSpan bytes);
// Jet 4 text: compressed when it starts with FF FE, else plain UCS-2.
void appendJet4Text(std::string& out, ByteSpan bytes);

// The iconv name for a Windows code page; nullptr if we do not know it.
const char* codePageCharset(std::uint16_t codePage);
// The code page usually paired with a Jet sort order (a Windows locale id); 0 if unknown.
std::uint16_t codePageForSortOrder(std::uint32_t sortOrder);

// Decodes bytes of one code page. Windows-1252 and ASCII are decoded without iconv; other code
// pages go through one iconv converter, shared under a lock so cursors may run on any thread.
class CodePageDecoder {
public:
    explicit CodePageDecoder(std::uint16_t codePage);
    ~CodePageDecoder();
    CodePageDecoder(const CodePageDecoder&) = delete;
    CodePageDecoder& operator=(const CodePageDecoder&) = delete;

    std::uint16_t codePage() const { return codePage_; }
    void append(std::string& out, ByteSpan bytes) const;

private:
    std::uint16_t codePage_;
    void* iconv_ = nullptr; // iconv_t; null when iconv lacks the code page
    mutable std::mutex iconvLock_;
    void appendWithIconv(std::string& out, ByteSpan bytes) const;
};

} // namespace jet::detail

namespace jet::detail {

// Compares object names as Jet does: ignoring case (ASCII, Latin-1, Greek and Cyrillic letters).
bool equalsIgnoringCase(std::string_view a, std::string_view b);

} // namespace jet::detail
