#include "write/text_encoder.h"

#include "jet/error.h"
#include "jet/utf8.h"
#include "read/code_page.h"

#include <cerrno>
#include <iconv.h>
#include <memory>
#include <string>

namespace jet::detail {
namespace {

[[noreturn]] void badUtf8() {
    throw Error(ErrorKind::Invalid, "text is not valid UTF-8");
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

} // namespace

std::u16string utf8ToUtf16(std::string_view s) {
    std::u16string out;
    out.reserve(s.size());
    for (std::size_t i = 0; i < s.size();) {
        char32_t cp = 0;
        const std::size_t length = utf8::decode(s, i, cp);
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

std::vector<std::uint8_t> encodeCodePageText(std::string_view utf8, std::uint16_t codePage) {
    if (!utf8::isValid(utf8)) // malformed input must not reach iconv
        badUtf8();
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
        throw Error(ErrorKind::Invalid, "the text \"" + std::string(utf8) +
                                            "\" has characters code page " +
                                            std::to_string(codePage) + " cannot hold");
    out.resize(out.size() - outLeft);
    return out;
}

} // namespace jet::detail
