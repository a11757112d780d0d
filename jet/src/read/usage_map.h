// Usage maps: bitmaps of page numbers, stored inline in a row (type 0: the first page the bits
// stand for, then one bit a page) or spread over map pages that the row lists (type 1).
#pragma once

#include "file/bytes.h"
#include "file/page_source.h"

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace jet::detail {

inline constexpr std::uint8_t kInlineUsageMap = 0;
inline constexpr std::uint8_t kReferenceUsageMap = 1;
inline constexpr std::size_t kInlineMapHeaderSize = 5; // type and first page
inline constexpr std::size_t kMapPageHeaderSize = 4;   // page type, 0x01 and two unused bytes

// The database's own map of free pages: row 0 of page 1.
inline constexpr std::uint32_t kFreePageMapPointer = 0x100;

// Pages one map page of a reference map stands for.
inline std::uint64_t pagesPerMapPage(std::uint32_t pageSize) {
    return std::uint64_t{pageSize - kMapPageHeaderSize} * 8;
}

inline bool usageBit(ByteSpan bits, std::uint64_t i) {
    return (bits[i / 8] >> (i % 8)) & 1;
}
inline void setUsageBit(std::span<std::uint8_t> bits, std::uint64_t i, bool on) {
    const auto mask = static_cast<std::uint8_t>(1u << (i % 8));
    if (on)
        bits[i / 8] |= mask;
    else
        bits[i / 8] &= static_cast<std::uint8_t>(~mask);
}

// A usage map record taken apart: an inline map's first page and bits, or the map pages a
// reference map lists (0 where it lists none). ErrorKind Corrupt, naming `owner`, for a record
// that is empty, too short or of an unknown type.
struct UsageMapRecord {
    std::uint8_t type = kInlineUsageMap;
    std::uint32_t firstPage = 0;
    ByteSpan bits;
    std::vector<std::uint32_t> mapPages;
};
UsageMapRecord parseUsageMap(ByteSpan record, const std::string& owner);

// The numbers of the bits set in `bits`, each plus `first`, ascending; not checked against the
// file.
std::vector<std::uint64_t> setUsageBits(ByteSpan bits, std::uint64_t first);

// The pages a usage map record marks, ascending. `owner` names the map in error messages.
// Every page must lie inside the file.
std::vector<std::uint32_t> readUsageMap(const PageStore& pages, ByteSpan record,
                                        const std::string& owner);

} // namespace jet::detail
