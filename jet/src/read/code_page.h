// Jet 3 text: bytes of a Windows code page, decoded to UTF-8.
#pragma once

#include "file/bytes.h"

#include <cstdint>
#include <mutex>
#include <string>

namespace jet::detail {

// The iconv name for a Windows code page; nullptr if we do not know it.
const char* codePageCharset(std::uint16_t codePage);
// The Windows-1252 byte of a character, or -1 when that code page has none. The five bytes it
// leaves unassigned stand for the control characters of the same value, as they are read.
int windows1252Byte(char32_t c);
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
