#include "write/header_encoder.h"

#include "file/byte_writer.h"
#include "file/header.h"
#include "file/rc4.h"
#include "jet/error.h"
#include "read/table_def.h"
#include "write/text_encoder.h"

#include <algorithm>
#include <cstring>

namespace jet::detail {

namespace {

// The fields both layouts share: masked values every database carries, code page, no page
// encoding, sort order and creation time, the password masked by the whole days of the creation
// time; the caller then sets its own fields and masks the header.
std::vector<std::uint8_t> commonHeader(const char (&magic)[16], std::uint8_t version,
                                       std::uint32_t sortOrder,
                                       const std::vector<std::uint8_t>& ucs2Password,
                                       double creationTime) {
    const JetFormat& format = JetFormat::jet4();
    std::vector<std::uint8_t> page(format.pageSize, 0);
    page[1] = 0x01;
    std::memcpy(page.data() + kMagicOffset, magic, sizeof magic);
    page[kVersionOffset] = version;

    page[0x19] = 0x01;
    page[0x1c] = 0x01;
    page[0x1d] = 0x01;
    for (std::uint8_t i = 2; i <= 5; ++i)
        page[kHeaderMaskStart + 4 * i] = i;
    putLe16(page, kCodePageOffset, 1252);
    putLe32(page, kEncodingKeyOffset, 0); // no page encoding
    putLe32(page, format.sortOrderOffset, sortOrder);
    std::uint64_t dateBits;
    std::memcpy(&dateBits, &creationTime, sizeof dateBits);
    putLe32(page, kCreationDateOffset, static_cast<std::uint32_t>(dateBits));
    putLe32(page, kCreationDateOffset + 4, static_cast<std::uint32_t>(dateBits >> 32));
    std::copy(ucs2Password.begin(), ucs2Password.end(), page.begin() + kPasswordOffset);
    maskPasswordWithDate(std::span(page.data() + kPasswordOffset, format.passwordLength),
                         creationTime);

    // A table Jet keeps at the end of the header page.
    page[0xe00] = 0x01;
    page[0xe01] = 0x01;
    for (std::size_t at = 0xe03; at < page.size(); at += 2)
        page[at] = 0x01;
    return page;
}

void maskHeader(std::vector<std::uint8_t>& page) {
    rc4Apply(kHeaderMaskKey,
             std::span(page.data() + kHeaderMaskStart, JetFormat::jet4().headerMaskedLength));
}

} // namespace

std::vector<std::uint8_t> encodeJet4Header(std::string_view password, double creationTime) {
    std::vector<std::uint8_t> ucs2 = encodeUcs2(password);
    if (ucs2.size() > JetFormat::jet4().passwordLength)
        throw Error(ErrorKind::Invalid, "a database password holds at most 20 characters");
    std::vector<std::uint8_t> page =
        commonHeader(kJetMagic, 0x01, kGeneralSortCode, ucs2, creationTime);
    putLe32(page, 0x94, 0x654);
    static constexpr char kVersion[] = "4.0";
    std::memcpy(page.data() + 0x98, kVersion, sizeof kVersion);
    maskHeader(page);
    return page;
}

std::vector<std::uint8_t> encodeAce14Header(double creationTime) {
    // Sort order 1033, version 1 (byte 3 of the field): the "General" order of Access 2010 on.
    std::vector<std::uint8_t> page =
        commonHeader(kAceMagic, 0x03, kGeneralSortCode | 0x01000000u, {}, creationTime);
    page[0x15] = 0x01; // as Access 2010 sets it
    // Access 2010 keeps these past the masked part, where Access 2000-2003 keep them inside it.
    putLe32(page, 0x98, 0x654);
    static constexpr char kVersion[] = "4.0";
    std::memcpy(page.data() + 0x9c, kVersion, sizeof kVersion);
    maskHeader(page);
    return page;
}

} // namespace jet::detail
