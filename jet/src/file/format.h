// Where things live on Jet 3 and Jet 4 pages: one description per version, so readers and the
// later writer share the same offsets.
#pragma once

#include "file/bytes.h"
#include "jet/version.h"

#include <cstddef>
#include <cstdint>

namespace jet::detail {

enum class PageType : std::uint8_t {
    Header = 0x00,
    Data = 0x01,
    TableDefinition = 0x02,
    IndexNode = 0x03,
    IndexLeaf = 0x04,
    UsageMap = 0x05,
};

struct JetFormat {
    Version version; // of the page layout: Jet 3, or Jet 4 (which ACE files share)
    std::uint32_t pageSize;
    bool aceColumns = false; // Access 2007 and later: calculated and complex columns exist

    // Header page (page 0).
    std::size_t headerMaskedLength; // bytes from 0x18 masked with the fixed RC4 key
    std::size_t passwordLength;     // bytes at 0x42
    bool passwordIsUcs2;
    bool passwordMaskedByDate; // Jet 4 also XORs the password with the creation date
    std::size_t sortOrderOffset;

    // Data and long-value pages.
    std::size_t dataRowCountOffset; // 16-bit row count, then the slot table
    std::size_t dataFirstSlotOffset() const { return dataRowCountOffset + 2; }

    // Rows.
    std::size_t rowCountSize; // size of the column count and variable count fields
    bool rowHasJumpTable;     // Jet 3 one-byte offsets with a jump table

    // Table definition.
    std::size_t tdefRowCount;
    std::size_t tdefTableType;
    std::size_t tdefRealIndexStart;
    std::size_t tdefRealIndexEntrySize;

    // One column entry of a table definition.
    std::size_t columnEntrySize;
    std::size_t columnType;
    std::size_t columnNumber;
    std::size_t columnVarIndex;
    std::size_t columnFlags;
    std::size_t columnExtFlags; // 0: none (Jet 3)
    std::size_t columnPrecision;
    std::size_t columnScale;
    std::size_t columnCodePage; // 0: none (Jet 4)
    std::size_t columnFixedOffset;
    std::size_t columnLength;

    std::size_t nameLengthSize; // 1 (Jet 3 code-page names) or 2 (Jet 4 UCS-2 names)

    // Index definitions.
    std::size_t realIndexSize;    // one physical index block
    std::size_t realIndexLead;    // unknown bytes before its column list
    std::size_t logicalIndexSize; // one logical index block
    std::size_t logicalIndexLead; // unknown bytes before its index number

    // Index pages: a bitmask marking where each entry ends, then the entries.
    std::size_t indexEntryMaskOffset;
    std::size_t indexFirstEntryOffset;
    std::size_t indexEntryMaskBits() const {
        return (indexFirstEntryOffset - indexEntryMaskOffset) * 8;
    }

    static const JetFormat& jet3();
    static const JetFormat& jet4();
    static const JetFormat& ace(); // Jet 4's layout
};

// Every page but the header starts with its type and 0x01. Data, table-definition and index
// pages then give their free bytes; data and index pages name their table by its first
// definition page, where a table definition names the page it continues on.
inline constexpr std::size_t kPageFreeSpaceOffset = 2;
inline constexpr std::size_t kPageOwnerOffset = 4;
inline constexpr std::size_t kTableDefNextPageOffset = 4;

inline bool isDataPageOf(ByteSpan page, std::uint32_t tablePage) {
    return page[0] == static_cast<std::uint8_t>(PageType::Data) &&
           le32(page.data() + kPageOwnerOffset) == tablePage;
}

// Long-value pages are data pages that carry "LVAL" where a data page names its table.
inline constexpr std::uint32_t kLongValuePageMarker = 0x4c41564c;
inline bool isLongValuePage(ByteSpan page) {
    return page.size() > 8 && isDataPageOf(page, kLongValuePageMarker);
}

// Table types in a table definition.
inline constexpr std::uint8_t kUserTableType = 0x4e;
inline constexpr std::uint8_t kSystemTableType = 0x53;

// Row pointers pack a page number with a row number in the lowest byte.
inline std::uint32_t rowPointerPage(std::uint32_t pointer) {
    return pointer >> 8;
}
inline std::uint32_t rowPointerRow(std::uint32_t pointer) {
    return pointer & 0xff;
}

} // namespace jet::detail
