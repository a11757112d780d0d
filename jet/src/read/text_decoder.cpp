#include "read/text_decoder.h"

#include "jet/utf8.h"

namespace jet::detail {

namespace {

// Feeds UTF-16 code units, pairing surrogates.
class Utf16Sink {
public:
    explicit Utf16Sink(std::string& out) : out_(out) {}
    ~Utf16Sink() { flush(); }
    void put(std::uint16_t unit) {
        if (unit < 0x80 && !high_) { // ASCII needs no encoding
            out_.push_back(static_cast<char>(unit));
            return;
        }
        if (unit >= 0xdc00 && unit < 0xe000 && high_) {
            utf8::append(out_, 0x10000 + ((char32_t{high_} - 0xd800) << 10) + (unit - 0xdc00));
            high_ = 0;
            return;
        }
        flush();
        if (unit >= 0xd800 && unit < 0xdc00)
            high_ = unit;
        else if (unit >= 0xdc00 && unit < 0xe000)
            utf8::append(out_, kReplacementCharacter);
        else
            utf8::append(out_, unit);
    }
    // A run of ASCII code units, which need no pairing and no conversion.
    void putAscii(const std::uint8_t* units, std::size_t count) {
        flush();
        out_.append(reinterpret_cast<const char*>(units), count);
    }

private:
    void flush() {
        if (high_)
            utf8::append(out_, kReplacementCharacter);
        high_ = 0;
    }
    std::string& out_;
    std::uint16_t high_ = 0;
};

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

} // namespace jet::detail
