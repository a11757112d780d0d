#include "file/format.h"

namespace jet::detail {

const JetFormat& JetFormat::jet3() {
    static const JetFormat format{
        .version = Version::Jet3,
        .pageSize = 2048,
        .headerMaskedLength = 126,
        .passwordLength = 20,
        .passwordIsUcs2 = false,
        .passwordMaskedByDate = false,
        .sortOrderOffset = 0x3a,
        .dataRowCountOffset = 8,
        .rowCountSize = 1,
        .rowHasJumpTable = true,
        .tdefRowCount = 12,
        .tdefTableType = 20,
        .tdefRealIndexStart = 43,
        .tdefRealIndexEntrySize = 8,
        .columnEntrySize = 18,
        .columnType = 0,
        .columnNumber = 1,
        .columnVarIndex = 3,
        .columnFlags = 13,
        .columnExtFlags = 0,
        .columnPrecision = 9,
        .columnScale = 10,
        .columnCodePage = 11,
        .columnFixedOffset = 14,
        .columnLength = 16,
        .nameLengthSize = 1,
        .realIndexSize = 39,
        .realIndexLead = 0,
        .logicalIndexSize = 20,
        .logicalIndexLead = 0,
        .indexEntryMaskOffset = 0x16,
        .indexFirstEntryOffset = 0xf8,
    };
    return format;
}

const JetFormat& JetFormat::jet4() {
    static const JetFormat format{
        .version = Version::Jet4,
        .pageSize = 4096,
        .headerMaskedLength = 128,
        .passwordLength = 40,
        .passwordIsUcs2 = true,
        .passwordMaskedByDate = true,
        .sortOrderOffset = 0x6e,
        .dataRowCountOffset = 12,
        .rowCountSize = 2,
        .rowHasJumpTable = false,
        .tdefRowCount = 16,
        .tdefTableType = 40,
        .tdefRealIndexStart = 63,
        .tdefRealIndexEntrySize = 12,
        .columnEntrySize = 25,
        .columnType = 0,
        .columnNumber = 5,
        .columnVarIndex = 7,
        .columnFlags = 15,
        .columnExtFlags = 16,
        .columnPrecision = 11,
        .columnScale = 12,
        .columnCodePage = 0,
        .columnFixedOffset = 21,
        .columnLength = 23,
        .nameLengthSize = 2,
        .realIndexSize = 52,
        .realIndexLead = 4,
        .logicalIndexSize = 28,
        .logicalIndexLead = 4,
        .indexEntryMaskOffset = 0x1b,
        .indexFirstEntryOffset = 0x1e0,
    };
    return format;
}

const JetFormat& JetFormat::ace() {
    static const JetFormat format = [] {
        JetFormat f = jet4();
        f.aceColumns = true;
        return f;
    }();
    return format;
}

} // namespace jet::detail
