#include "text_codec.h"

#include <array>
#include <cerrno>
#include <iconv.h>

namespace jet::detail {

void appendUtf8(std::string& out, std::uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xc0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xe0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
    } else {
        out.push_back(static_cast<char>(0xf0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3f)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3f)));
    }
}

namespace {

constexpr std::uint32_t kReplacement = 0xfffd;

// Feeds UTF-16 code units, pairing surrogates.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    ~Utf16Sink() { flush(); }
    void put(std::uint16_t unit) {
        if (unit >= 0xdc00 && unit < 0xe000 && high_) {
            appendUtf8(out_, 0x10000 + ((std::uint32_t{high_} - 0xd800) << 10) + (unit - 0xdc00));
            high_ = 0;
            return;
        }
        flush();
        if (unit >= 0xd800 && unit < 0xdc00)
            high_ = unit;
        else if (unit >= 0xdc00 && unit < 0xe000)
            appendUtf8(out_, kReplacement);
        else
            appendUtf8(out_, unit);
    }
    // A run of ASCII code units, which need no pairing and no conversion.
    void putAscii(const std::uint8_t* units, std::size_t count) {
        flush();
        out_.append(reinterpret_cast<const char*>(units), count);
    }

private:
    void flush() {
        if (high_)
            appendUtf8(out_, kReplacement);
        high_ = 0;
    }
    std::string& out_;
    std::uint16_t high_ = 0;
};

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
            appendUtf8(out, kCp1252High[b - 0x80]);
        else
            appendUtf8(out, b);
    }
}

bool isAscii(ByteSpan bytes) {
    for (std::uint8_t b : bytes)
        if (b >= 0x80)
            return false;
    return true;
}

} // namespace

void appendUcs2(std::string& out, ByteSpan bytes) {
    out.reserve(out.size() + bytes.size() / 2);
    Utf16Sink sink(out);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2)
        sink.put(le16(bytes.data() + i));
}

void appendJet4Text(std::string& out, ByteSpan bytes) {
    if (bytes.size() < 2 || bytes[0] != 0xff || bytes[1] != 0xfe) {
        appendUcs2(out, bytes);
        return;
    }
    out.reserve(out.size() + bytes.size());
    // A 0x00 byte toggles between one-byte characters (high byte zero) and plain UCS-2.
    Utf16Sink sink(out);
    bool compressed = true;
    std::size_t i = 2;
    while (i < bytes.size()) {
        if (bytes[i] == 0) {
            compressed = !compressed;
            ++i;
        } else if (compressed) {
            // Most text is ASCII: take the whole run at once.
            std::size_t end = i;
            while (end < bytes.size() && bytes[end] != 0 && bytes[end] < 0x80)
                ++end;
            if (end > i) {
                sink.putAscii(bytes.data() + i, end - i);
                i = end;
            } else {
                sink.put(bytes[i]);
                ++i;
            }
        } else if (i + 1 < bytes.size()) {
            sink.put(le16(bytes.data() + i));
            i += 2;
        } else {
            break;
        }
    }
}

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
            appendUtf8(out, kReplacement);
            ++in;
            --inLeft;
            iconv(cd, nullptr, nullptr, nullptr, nullptr);
        }
    }
}

} // namespace jet::detail

namespace jet::detail {

namespace {

// Next code point of UTF-8 text; malformed bytes stand for themselves.
std::uint32_t nextCodePoint(std::string_view s, std::size_t& i) {
    const auto b0 = static_cast<std::uint8_t>(s[i]);
    std::size_t extra = b0 >= 0xf0 ? 3 : b0 >= 0xe0 ? 2 : b0 >= 0xc0 ? 1 : 0;
    if (extra == 0 || i + extra >= s.size()) {
        ++i;
        return b0;
    }
    std::uint32_t cp = b0 & (0x3f >> extra);
    for (std::size_t k = 1; k <= extra; ++k)
        cp = (cp << 6) | (static_cast<std::uint8_t>(s[i + k]) & 0x3f);
    i += extra + 1;
    return cp;
}

std::uint32_t foldCase(std::uint32_t cp) {
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

} // namespace jet::detail
