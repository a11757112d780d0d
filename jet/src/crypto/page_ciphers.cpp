#include "crypto/page_ciphers.h"

#include "crypto/office_schemes.h"
#include "file/errors.h"
#include "text/utf8.h"

namespace jet::detail {

namespace {

// Office takes at most this many UTF-16 units of a password.
constexpr std::size_t kMaxPasswordUnits = 255;

void putUnit(Bytes& out, char32_t unit) {
    out.push_back(static_cast<std::uint8_t>(unit));
    out.push_back(static_cast<std::uint8_t>(unit >> 8));
}

// UTF-16LE, as Office hashes passwords; a malformed byte stands as U+FFFD.
Bytes passwordUtf16(std::string_view password) {
    Bytes out;
    for (std::size_t pos = 0; pos < password.size() && out.size() < 2 * kMaxPasswordUnits;) {
        char32_t c = 0xfffd;
        const std::size_t length = text::utf8::decode(password, pos, c);
        pos += length ? length : 1;
        if (c < 0x10000) {
            putUnit(out, c);
        } else if (out.size() + 4 <= 2 * kMaxPasswordUnits) {
            putUnit(out, 0xd800 + ((c - 0x10000) >> 10));
            putUnit(out, 0xdc00 + ((c - 0x10000) & 0x3ff));
        } else {
            break;
        }
    }
    return out;
}

} // namespace

void throwDamagedDescriptor(const SchemeInput& input, const std::string& what) {
    throw Error(ErrorKind::Corrupt, input.fileName +
                                        ": the encryption descriptor on the header page is "
                                        "damaged (" +
                                        what + ")");
}

void throwUnsupportedScheme(const SchemeInput& input, const std::string& what) {
    throw Error(ErrorKind::NotSupported, std::string(kNotSupportedMessage) + ": " + input.fileName +
                                             " (encrypted with " + what +
                                             ", which this program cannot decode)");
}

void throwWrongPassword(const SchemeInput& input) {
    if (!input.passwordGiven)
        throw Error(ErrorKind::BadPassword,
                    input.fileName + ": the file is encrypted and opens only with its password");
    throw Error(ErrorKind::BadPassword, kBadPasswordMessage);
}

bool sameBytes(ByteSpan a, ByteSpan b) {
    if (a.size() != b.size())
        return false;
    std::uint8_t difference = 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        difference |= a[i] ^ b[i];
    return difference == 0;
}

bool isOfficeEncrypted(const Header& header) {
    return header.encodingKey != 0 && isAce(header.version);
}

std::shared_ptr<const PageCipher> pageCipherFor(const Header& header, ByteSpan headerPage,
                                                std::string_view password,
                                                const std::string& fileName) {
    if (header.encodingKey == 0)
        return nullptr;
    if (!isOfficeEncrypted(header))
        return jetPageCipher(header.encodingKey);

    SchemeInput input{.descriptor = {},
                      .password = passwordUtf16(password),
                      .passwordGiven = !password.empty(),
                      .encodingKey = header.encodingKey,
                      .pageSize = header.format->pageSize,
                      .fileName = fileName};
    const std::size_t start = kEncryptionDescriptorOffset + 2;
    const std::size_t pageEnd = std::min<std::size_t>(headerPage.size(), input.pageSize);
    if (!fits(pageEnd, kEncryptionDescriptorOffset, 2) ||
        !fits(pageEnd, start, le16(&headerPage[kEncryptionDescriptorOffset])))
        throwDamagedDescriptor(input, "it runs past the end of the page");
    const ByteSpan info = headerPage.subspan(start, le16(&headerPage[kEncryptionDescriptorOffset]));
    if (info.size() < 4)
        throwDamagedDescriptor(input, "it is too short for its version");
    const unsigned major = le16(&info[0]);
    const unsigned minor = le16(&info[2]);
    input.descriptor = info.subspan(4);
    if (major == 4 && minor == 4)
        return agileCipher(input);
    if ((major == 2 || major == 3 || major == 4) && minor == 2)
        return cryptoApiCipher(input);
    if ((major == 3 || major == 4) && minor == 3)
        throwUnsupportedScheme(input, "an extensible encryption provider");
    throwUnsupportedScheme(input, "encryption version " + std::to_string(major) + "." +
                                      std::to_string(minor));
}

} // namespace jet::detail
