// Reading the slot table of data and long-value pages: where each row lies and what its flags
// say, and the row a row pointer names. (Placing new rows on a page is write/data_page.h.)
#pragma once

#include "file/bytes.h"
#include "file/errors.h"
#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
#include <string>

namespace jet::detail {

// Slot flags: a deleted row carries both; a moved row's original slot holds only kRowMoved and
// a 4-byte pointer to where the row now lives; the moved copy carries only kRowIsMoveTarget.
inline constexpr std::uint16_t kRowIsMoveTarget = 0x8000;
inline constexpr std::uint16_t kRowMoved = 0x4000;
inline constexpr std::uint16_t kRowOffsetMask = 0x1fff;

struct RowSlot {
    std::uint16_t flags = 0;
    ByteSpan bytes; // the row's bytes on the page; empty for a deleted row
};

// Number of slots on a data page, checked against the page size.
std::uint16_t slotCount(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber);

// A slot's entry as stored: the row's start in its low bits (kRowOffsetMask), its flags in the
// high ones. `slot` must be below the checked slotCount().
inline std::uint16_t slotEntry(const JetFormat& format, ByteSpan page, std::uint16_t slot) {
    return le16(page.data() + format.dataFirstSlotOffset() + std::size_t{slot} * 2);
}

// One slot's row bytes and flags. The bounds of deleted rows are not checked (Jet leaves
// garbage there).
RowSlot rowSlot(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber,
                std::uint16_t slot);

// A live row that something points at; ErrorKind Corrupt when the slot is missing or deleted.
// `owner()` names the pointer's holder and is called only for an error.
template <class Owner>
RowSlot pointedRow(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber,
                   std::uint16_t slot, const Owner& owner) {
    if (slot >= slotCount(format, page, pageNumber))
        throwCorruptPage(pageNumber, owner() + " names missing row " + std::to_string(slot));
    RowSlot row = rowSlot(format, page, pageNumber, slot);
    if (row.bytes.empty())
        throwCorruptPage(pageNumber, owner() + " names deleted row " + std::to_string(slot));
    return row;
}

// The row a row pointer names, on any data page; `owner` names errors.
ByteSpan rowAtPointer(const PageStore& pages, const JetFormat& format, std::uint32_t pointer,
                      const std::string& owner);

} // namespace jet::detail
