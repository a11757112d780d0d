#include "read/code_page.h"

#include "read/text_decoder.h"
#include "text/utf8.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace jet::detail {

namespace {

// Windows-1252 bytes 0x80-0x9f; the rest of the upper half maps to the same code point. The five
// unassigned bytes map to the control characters of the same value, as Windows maps them.
constexpr std::array<std::uint16_t, 32> kCp1252High{
    0x20ac, 0x0081, 0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008d, 0x017d, 0x008f, 0x0090, 0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0x009d, 0x017e, 0x0178};

void appendCp1252(std::string& out, ByteSpan bytes) {
    for (std::uint8_t b : bytes) {
        if (b < 0x80)
            out.push_back(static_cast<char>(b));
        else if (b < 0xa0)
            text::utf8::append(out, kCp1252High[b - 0x80]);
        else
            text::utf8::append(out, b);
    }
}

} // namespace

int windows1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xa0 && c <= 0xff))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] == c)
            return static_cast<int>(0x80 + i);
    return -1;
}

namespace {

bool isAscii(ByteSpan bytes) {
    for (std::uint8_t b : bytes)
        if (b >= 0x80)
            return false;
    return true;
}

} // namespace

const char* codePageCharset(std::uint16_t codePage) {
    switch (codePage) {
    case 437:
        return "CP437";
    case 850:
        return "CP850";
    case 852:
        return "CP852";
    case 866:
        return "CP866";
    case 874:
        return "CP874";
    case 932:
        return "CP932";
    case 936:
        return "GBK";
    case 949:
        return "CP949";
    case 950:
        return "BIG5";
    case 1250:
        return "CP1250";
    case 1251:
        return "CP1251";
    case 1252:
        return "CP1252";
    case 1253:
        return "CP1253";
    case 1254:
        return "CP1254";
    case 1255:
        return "CP1255";
    case 1256:
        return "CP1256";
    case 1257:
        return "CP1257";
    case 1258:
        return "CP1258";
    case 65001:
        return "UTF-8";
    default:
        return nullptr;
    }
}

std::uint16_t codePageForSortOrder(std::uint32_t sortOrder) {
    switch (sortOrder & 0xffff) {
    case 0x0404:
    case 0x0c04:
    case 0x1404:
        return 950; // Chinese (traditional)
    case 0x0804:
    case 0x1004:
        return 936; // Chinese (simplified)
    case 0x0411:
        return 932; // Japanese
    case 0x0412:
        return 949; // Korean
    case 0x041e:
        return 874; // Thai
    case 0x0405:
    case 0x040e:
    case 0x0415:
    case 0x0418:
    case 0x041a:
    case 0x041b:
    case 0x0424:
        return 1250; // Central European
    case 0x0402:
    case 0x0419:
    case 0x0422:
    case 0x0423:
    case 0x042f:
    case 0x0c1a:
        return 1251; // Cyrillic
    case 0x0408:
        return 1253; // Greek
    case 0x041f:
        return 1254; // Turkish
    case 0x040d:
        return 1255; // Hebrew
    case 0x0401:
        return 1256; // Arabic
    case 0x0425:
    case 0x0426:
    case 0x0427:
        return 1257; // Baltic
    case 0x042a:
        return 1258; // Vietnamese
    default:
        return 0;
    }
}

CodePageDecoder::CodePageDecoder(std::uint16_t codePage)
    : codePage_(codePageCharset(codePage) ? codePage : 1252) {
    if (codePage_ == 1252)
        return;
    iconv_t cd = iconv_open("UTF-8", codePageCharset(codePage_));
    if (cd != reinterpret_cast<iconv_t>(-1))
        iconv_ = cd;
}

CodePageDecoder::~CodePageDecoder() {
    if (iconv_)
        iconv_close(static_cast<iconv_t>(iconv_));
}

void CodePageDecoder::append(std::string& out, ByteSpan bytes) const {
    if (isAscii(bytes)) {
        out.append(reinterpret_cast<const char*>(bytes.data()), bytes.size());
    } else if (codePage_ == 1252) {
        appendCp1252(out, bytes);
    } else {
        appendWithIconv(out, bytes);
    }
}

void CodePageDecoder::appendWithIconv(std::string& out, ByteSpan bytes) const {
    if (!iconv_) {
        appendCp1252(out, bytes);
        return;
    }
    const std::lock_guard<std::mutex> lock(iconvLock_);
    auto cd = static_cast<iconv_t>(iconv_);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(reinterpret_cast<const char*>(bytes.data()));
    std::size_t inLeft = bytes.size();
    std::array<char, 1024> buffer;
    while (inLeft > 0) {
        char* outPtr = buffer.data();
        std::size_t outLeft = buffer.size();
        std::size_t rc = iconv(cd, &in, &inLeft, &outPtr, &outLeft);
        out.append(buffer.data(), outPtr);
        if (rc == static_cast<std::size_t>(-1) && errno != E2BIG) {
            // An invalid or cut-off sequence: mark it and go on after one byte.
            text::utf8::append(out, kReplacementCharacter);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

} // namespace jet::detail
