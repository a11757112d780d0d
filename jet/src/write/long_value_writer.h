// Storing memo and OLE values: inline in the row when short, else in rows of long-value (LVAL)
// pages, one row when it fits, chained over several pages when not.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "write/usage_map_editor.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace jet::detail {

// The longest value kept inline in its row.
inline constexpr std::size_t kMaxInlineLongValue = 64;

// Where a column's long-value pages are recorded; zero pointers when the table keeps none.
struct LongValuePages {
    std::uint32_t ownedMap = 0;
    std::uint32_t freeMap = 0;
    std::uint32_t current = 0; // the page last written, tried first
};

// The 12-byte field header of a value kept inline, followed by the value.
std::vector<std::uint8_t> inlineLongValue(const std::vector<std::uint8_t>& value);

// Writes `value` to LVAL pages and returns the field header that points at it.
std::vector<std::uint8_t> storeLongValue(PageStore& pages, const JetFormat& format,
                                         const PageAllocator& allocate, LongValuePages& where,
                                         const std::vector<std::uint8_t>& value);

} // namespace jet::detail
