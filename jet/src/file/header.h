// The header page (page 0): version, code page, page-encoding key and database password.
#pragma once

#include "file/bytes.h"
#include "file/format.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace jet::detail {

struct Header {
    const JetFormat* format = nullptr;  // ACE files keep Jet 4's layout
    Version version = Version::Jet4;    // as the version byte says
    std::uint16_t codePage = 0;         // as stored; 0 when absent
    std::uint32_t sortOrder = 0;        // a Windows locale id
    std::uint32_t encodingKey = 0;      // non-zero: pages 1.. are RC4-encoded
    double creationDate = 0;            // Jet 4 only
    std::vector<std::uint8_t> password; // unmasked; ends at the first zero character
};

// Where the header page keeps its fields.
inline constexpr char kJetMagic[] = "Standard Jet DB"; // at byte 4, its zero included
inline constexpr char kAceMagic[] = "Standard ACE DB"; // Access 2007 and later
inline constexpr std::size_t kMagicOffset = 4;
inline constexpr std::size_t kVersionOffset = 0x14; // 0 Jet 3, 1 Jet 4, 2 3 5 6 ACE
inline constexpr std::size_t kCodePageOffset = 0x3c;
inline constexpr std::size_t kEncodingKeyOffset = 0x3e;
inline constexpr std::size_t kPasswordOffset = 0x42;
inline constexpr std::size_t kCreationDateOffset = 0x72; // Jet 4

// The fixed key masking part of the header page.
inline constexpr std::uint8_t kHeaderMaskKey[4] = {0xc7, 0xda, 0x39, 0x6b};
inline constexpr std::size_t kHeaderMaskStart = 0x18;

// Jet 4 masks the password once more with the whole days of the creation date; applying the
// mask twice removes it.
void maskPasswordWithDate(std::span<std::uint8_t> password, double creationDate);

// Reads the header from the start of the file. ErrorKind NotSupported for anything that is not
// a Jet 3, Jet 4 or ACE database (the version byte decides, with the magic text that goes with
// it); `fileName` is used in messages.
Header readHeader(ByteSpan file, const std::string& fileName);

} // namespace jet::detail
