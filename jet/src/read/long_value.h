// Memo and OLE values: a 12-byte field header, with the data inline, in one row of a long-value
// (LVAL) page, or chained over rows of several LVAL pages.
#pragma once

#include "file/bytes.h"
#include "file/errors.h"
#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

inline constexpr std::size_t kLongValueHeaderSize = 12;
inline constexpr std::uint8_t kLongValueInline = 0x80;
inline constexpr std::uint8_t kLongValueSingleRow = 0x40;
inline constexpr std::uint8_t kLongValueChained = 0x00;
inline constexpr std::uint32_t kLongValueLengthMask = 0x3fffffff;

// What a long value's field header says: its length, where it is kept and the row pointer of
// its (first) row. The field must hold at least the header.
struct LongValueHeader {
    std::uint32_t length = 0;
    std::uint8_t kind = 0; // kLongValueInline, kLongValueSingleRow or kLongValueChained
    std::uint32_t pointer = 0;
};
inline LongValueHeader parseLongValueHeader(ByteSpan field) {
    return {le32(field.data()) & kLongValueLengthMask,
            static_cast<std::uint8_t>(field[3] & (kLongValueInline | kLongValueSingleRow)),
            le32(field.data() + 4)};
}

// Names the field of a long value in error messages; the text is built only for an error.
struct FieldLabel {
    const std::string& table;
    const std::string& column;
    std::string text() const { return named("column", column) + " of " + named("table", table); }
};

// Pages a walk keeps at hand for the long values of its rows, looked in before the store: the
// pages it has read ahead, and the long-value page read last (which often holds the next value
// too). Each is read with one read of the file rather than through the mapping.
struct NearbyPages {
    const PageRun* readAhead = nullptr;
    PageRun lastLongValuePage;
};

// The bytes of a long value. They point into the page store (or `nearby`, until its next use)
// when the value is contiguous there, otherwise into `scratch`. `where` names the column in
// error messages.
ByteSpan readLongValue(const PageStore& pages, const JetFormat& format, ByteSpan field,
                       std::uint32_t rowPage, const FieldLabel& where,
                       std::vector<std::uint8_t>& scratch, NearbyPages* nearby = nullptr);

} // namespace jet::detail
