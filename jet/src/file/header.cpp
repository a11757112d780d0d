#include "file/header.h"

#include "file/errors.h"
#include "file/rc4.h"

#include <cstring>
#include <optional>

namespace jet::detail {

namespace {

[[noreturn]] void notSupported(const std::string& fileName, const std::string& why) {
    throw Error(ErrorKind::NotSupported,
                std::string(kNotSupportedMessage) + ": " + fileName + " (" + why + ")");
}

std::optional<Version> versionOfByte(std::uint8_t byte) {
    switch (byte) {
    case 0:
        return Version::Jet3;
    case 1:
        return Version::Jet4;
    case 2:
        return Version::Ace12;
    case 3:
        return Version::Ace14;
    case 5:
        return Version::Ace16;
    case 6:
        return Version::Ace17;
    default:
        return std::nullopt;
    }
}

} // namespace

void maskPasswordWithDate(std::span<std::uint8_t> password, double creationDate) {
    std::int32_t days = 0;
    if (creationDate > -2147483648.0 && creationDate < 2147483648.0)
        days = static_cast<std::int32_t>(creationDate);
    const auto bits = static_cast<std::uint32_t>(days);
    for (std::size_t i = 0; i < password.size(); ++i)
        password[i] ^= static_cast<std::uint8_t>(bits >> (8 * (i % 4)));
}

Header readHeader(ByteSpan file, const std::string& fileName) {
    const std::size_t magicEnd = kMagicOffset + sizeof kJetMagic;
    if (file.size() < magicEnd || file[0] != 0 || file[1] != 1 || file[2] != 0 || file[3] != 0)
        notSupported(fileName, "no Jet header");
    const bool ace = std::memcmp(file.data() + kMagicOffset, kAceMagic, sizeof kAceMagic) == 0;
    if (!ace && std::memcmp(file.data() + kMagicOffset, kJetMagic, sizeof kJetMagic) != 0)
        notSupported(fileName, "no Jet header");
    if (file.size() <= kVersionOffset)
        notSupported(fileName, "no Jet header");

    Header header;
    const std::optional<Version> version = versionOfByte(file[kVersionOffset]);
    // The magic text must agree with the version byte.
    if (!version || ace != isAce(*version))
        notSupported(fileName, "unknown format version " + std::to_string(file[kVersionOffset]));
    header.version = *version;
    header.format = *version == Version::Jet3 ? &JetFormat::jet3()
                    : isAce(*version)         ? &JetFormat::ace()
                                              : &JetFormat::jet4();
    const JetFormat& format = *header.format;
    if (file.size() < format.pageSize)
        throwCorrupt(fileName + " is shorter than its first page (" + std::to_string(file.size()) +
                     " bytes)");

    std::vector<std::uint8_t> page(file.begin(), file.begin() + format.pageSize);
    rc4Apply(kHeaderMaskKey, std::span(page.data() + kHeaderMaskStart, format.headerMaskedLength));

    header.codePage = le16(&page[kCodePageOffset]);
    header.encodingKey = le32(&page[kEncodingKeyOffset]);
    header.sortOrder = format.version == Version::Jet3 ? le16(&page[format.sortOrderOffset])
                                                       : le32(&page[format.sortOrderOffset]);
    header.password.assign(page.begin() + kPasswordOffset,
                           page.begin() + kPasswordOffset + format.passwordLength);
    if (format.passwordMaskedByDate) {
        header.creationDate = leDouble(&page[kCreationDateOffset]);
        maskPasswordWithDate(header.password, header.creationDate);
    }
    return header;
}

} // namespace jet::detail
