// Reading the slot table of data and long-value pages: where each row lies and what its flags
// say. (Placing new rows on a page is data_page.h.)
#pragma once

#include "bytes.h"
#include "format.h"

#include <cstdint>

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

// One slot's row bytes and flags. The bounds of deleted rows are not checked (Jet leaves
// garbage there).
RowSlot rowSlot(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber,
                std::uint16_t slot);

} // namespace jet::detail
