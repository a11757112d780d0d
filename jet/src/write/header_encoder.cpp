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

std::vector<std::uint8_t> encodeJet4Header(std::string_view password, double creationTime) {
    const JetFormat& format = JetFormat::jet4();
    std::vector<std::uint8_t> ucs2 = encodeUcs2(password);
    if (ucs2.size() > format.passwordLength)
        throw Error(ErrorKind::Invalid, "a database password holds at most 20 characters");

    std::vector<std::uint8_t> page(format.pageSize, 0);
    page[1] = 0x01;
    std::memcpy(page.data() + kMagicOffset, kJetMagic, sizeof kJetMagic);
    page[kVersionOffset] = 0x01; // Jet 4

    // Values every Jet 4 database carries in the masked part.
    page[0x19] = 0x01;
    page[0x1c] = 0x01;
    page[0x1d] = 0x01;
    for (std::uint8_t i = 2; i <= 5; ++i)
        page[kHeaderMaskStart + 4 * i] = i;
    putLe16(page, kCodePageOffset, 1252);
    putLe32(page, kEncodingKeyOffset, 0); // no page encoding
    putLe32(page, format.sortOrderOffset, kGeneralSortCode);
    std::uint64_t dateBits;
    std::memcpy(&dateBits, &creationTime, sizeof dateBits);
    putLe32(page, kCreationDateOffset, static_cast<std::uint32_t>(dateBits));
    putLe32(page, kCreationDateOffset + 4, static_cast<std::uint32_t>(dateBits >> 32));
    putLe32(page, 0x94, 0x654);
    static constexpr char kVersion[] = "4.0";
    std::memcpy(page.data() + 0x98, kVersion, sizeof kVersion);

    // The password is masked by the whole days of the creation time, then by the header mask.
    std::copy(ucs2.begin(), ucs2.end(), page.begin() + kPasswordOffset);
    maskPasswordWithDate(std::span(page.data() + kPasswordOffset, format.passwordLength),
                         creationTime);
    rc4Apply(kHeaderMaskKey, std::span(page.data() + kHeaderMaskStart, format.headerMaskedLength));

    // A table Jet keeps at the end of the header page.
    page[0xe00] = 0x01;
    page[0xe01] = 0x01;
    for (std::size_t at = 0xe03; at < page.size(); at += 2)
        page[at] = 0x01;
    return page;
}

} // namespace jet::detail
