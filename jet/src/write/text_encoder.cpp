#include "write/text_encoder.h"

#include "file/errors.h"
#include "read/code_page.h"
#include "text/utf8.h"

#include <cerrno>
#include <cstring>
#include <iconv.h>
#include <memory>
#include <string>

namespace jet::detail {
namespace {

[[noreturn]] void badUtf8() {
    throw Error(ErrorKind::Invalid, "text is not valid UTF-8");
}

[[noreturn]] void cannotHold(std::string_view utf8, std::uint16_t codePage) {
    throw Error(ErrorKind::Invalid, named("the text", utf8) + " has characters code page " +
                                        std::to_string(codePage) + " cannot hold");
}

std::vector<std::uint8_t> littleEndian(const std::u16string& units) {
    std::vector<std::uint8_t> out;
    out.reserve(units.size() * 2);
    for (char16_t u : units) {
        out.push_back(static_cast<std::uint8_t>(u));
        out.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return out;
}

// True when every byte is ASCII and none is zero (a zero switches modes in compressed text).
// Nearly all text is; it then needs no decoding, eight bytes tested at a time.
bool isPlainAscii(std::string_view s) {
    constexpr std::uint64_t ones = 0x0101010101010101ull;
    constexpr std::uint64_t highBits = 0x8080808080808080ull;
    std::size_t i = 0;
    for (; i + 8 <= s.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, s.data() + i, 8);
        if ((word | ((word - ones) & ~word)) & highBits)
            return false;
    }
    for (; i < s.size(); ++i)
        if (s[i] == 0 || static_cast<unsigned char>(s[i]) >= 0x80)
            return false;
    return true;
}

} // namespace

std::size_t utf16Length(std::string_view s) {
    return isPlainAscii(s) ? s.size() : utf8ToUtf16(s).size();
}

std::u16string utf8ToUtf16(std::string_view s) {
    if (isPlainAscii(s))
        return std::u16string(s.begin(), s.end());
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = text::utf8::decode(s, i, cp);
        if (length == 0)
            badUtf8();
        if (cp >= 0x10000) {
            cp -= 0x10000;
            out.push_back(static_cast<char16_t>(0xd800 + (cp >> 10)));
            out.push_back(static_cast<char16_t>(0xdc00 + (cp & 0x3ff)));
        } else {
            out.push_back(static_cast<char16_t>(cp));
        }
        i += length;
    }
    return out;
}

std::vector<std::uint8_t> encodeUcs2(std::string_view utf8) {
    return littleEndian(utf8ToUtf16(utf8));
}

std::vector<std::uint8_t> encodeJet4Text(std::string_view utf8, bool allowCompression) {
    if (isPlainAscii(utf8)) {
        std::vector<std::uint8_t> out;
        if (allowCompression && utf8.size() > 2) {
            out.reserve(utf8.size() + 2);
            out.push_back(0xff);
            out.push_back(0xfe);
            out.insert(out.end(), utf8.begin(), utf8.end());
        } else {
            out.resize(utf8.size() * 2);
            for (std::size_t i = 0; i < utf8.size(); ++i)
                out[2 * i] = static_cast<std::uint8_t>(utf8[i]);
        }
        return out;
    }
    std::u16string units = utf8ToUtf16(utf8);
    bool compressible = allowCompression && units.size() > 2;
    for (char16_t u : units)
        // A zero byte switches modes in the compressed form, so it cannot be stored as text.
        if (u == 0 || u > 0xff) {
            compressible = false;
            break;
        }
    if (!compressible)
        return littleEndian(units);
    std::vector<std::uint8_t> out;
    out.reserve(units.size() + 2);
    out.push_back(0xff);
    out.push_back(0xfe);
    for (char16_t u : units)
        out.push_back(static_cast<std::uint8_t>(u));
    return out;
}

namespace {

std::vector<std::uint8_t> encodeWindows1252(std::string_view utf8) {
    std::vector<std::uint8_t> out;
    out.reserve(utf8.size());
    for (std::size_t at = 0; at < utf8.size();) {
        char32_t c = 0;
        at += text::utf8::decode(utf8, at, c); // valid: checked by the caller
        const int byte = windows1252Byte(c);
        if (byte < 0)
            cannotHold(utf8, 1252);
        out.push_back(static_cast<std::uint8_t>(byte));
    }
    return out;
}

} // namespace

std::vector<std::uint8_t> encodeCodePageText(std::string_view utf8, std::uint16_t codePage) {
    if (!text::utf8::isValid(utf8)) // malformed input must not reach iconv
        badUtf8();
    if (codePage == 1252) // as the reader maps it, unassigned bytes included: text reads back
        return encodeWindows1252(utf8);
    const char* charset = codePageCharset(codePage);
    if (!charset)
        throw Error(ErrorKind::NotSupported,
                    "text in code page " + std::to_string(codePage) + " cannot be written");
    iconv_t cd = iconv_open(charset, "UTF-8");
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw Error(ErrorKind::NotSupported, std::string("no converter for ") + charset);
    std::unique_ptr<void, int (*)(iconv_t)> closer(cd, &iconv_close);

    std::vector<std::uint8_t> out(utf8.size() * 2 + 4);
    std::string in(utf8);
    char* inPtr = in.data();
    std::size_t inLeft = in.size();
    char* outPtr = reinterpret_cast<char*>(out.data());
    std::size_t outLeft = out.size();
    if (iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1))
        cannotHold(utf8, codePage);
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace jet::detail
