#include "header_encoder.h"

#include "byte_writer.h"
#include "jet/error.h"
#include "rc4.h"
#include "text_encoder.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace jet::detail {
namespace {

constexpr std::size_t kPageSize = 4096;
constexpr std::size_t kMaskedStart = 0x18;
constexpr std::size_t kMaskedLength = 128;
constexpr std::uint32_t kHeaderMaskKey = 0x6b39dac7;
constexpr std::size_t kPasswordOffset = 0x42;
constexpr std::size_t kPasswordLength = 40;

} // namespace

std::vector<std::uint8_t> encodeJet4Header(std::string_view password, double creationTime) {
    std::vector<std::uint8_t> ucs2 = encodeUcs2(password);
    if (ucs2.size() > kPasswordLength)
        throw Error(ErrorKind::Invalid, "a database password holds at most 20 characters");

    std::vector<std::uint8_t> page(kPageSize, 0);
    page[1] = 0x01;
    static constexpr char kMagic[] = "Standard Jet DB";
    std::memcpy(page.data() + 4, kMagic, sizeof kMagic);
    page[0x14] = 0x01; // Jet 4

    // Values every Jet 4 database carries in the masked part.
    page[0x19] = 0x01;
    page[0x1c] = 0x01;
    page[0x1d] = 0x01;
    for (std::uint8_t i = 2; i <= 5; ++i)
        page[0x18 + 4 * i] = i;
    putLe16(page, 0x3c, 1252);  // code page
    putLe32(page, 0x3e, 0);     // no page encoding
    putLe32(page, 0x6e, 0x409); // General sort order
    std::uint64_t dateBits;
    std::memcpy(&dateBits, &creationTime, sizeof dateBits);
    putLe32(page, 0x72, static_cast<std::uint32_t>(dateBits));
    putLe32(page, 0x76, static_cast<std::uint32_t>(dateBits >> 32));
    putLe32(page, 0x94, 0x654);
    static constexpr char kVersion[] = "4.0";
    std::memcpy(page.data() + 0x98, kVersion, sizeof kVersion);

    // The password is masked by the whole days of the creation time, then by the header mask.
    std::copy(ucs2.begin(), ucs2.end(), page.begin() + kPasswordOffset);
    auto days = static_cast<std::uint32_t>(static_cast<std::int32_t>(std::floor(creationTime)));
    std::uint8_t dateMask[4];
    for (int i = 0; i < 4; ++i)
        dateMask[i] = static_cast<std::uint8_t>(days >> (8 * i));
    for (std::size_t i = 0; i < kPasswordLength; ++i)
        page[kPasswordOffset + i] ^= dateMask[i % 4];

    std::uint8_t key[4];
    for (int i = 0; i < 4; ++i)
        key[i] = static_cast<std::uint8_t>(kHeaderMaskKey >> (8 * i));
    rc4Apply(key, std::span<std::uint8_t>(page.data() + kMaskedStart, kMaskedLength));

    // A table Jet keeps at the end of the header page.
    page[0xe00] = 0x01;
    page[0xe01] = 0x01;
    for (std::size_t at = 0xe03; at < kPageSize; at += 2)
        page[at] = 0x01;
    return page;
}

} // namespace jet::detail
