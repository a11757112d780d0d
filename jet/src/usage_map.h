// Usage maps: bitmaps of page numbers, stored inline in a row (type 0) or spread over
// map pages that the row lists (type 1).
#pragma once

#include "bytes.h"
#include "page_source.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

inline constexpr std::uint8_t kInlineUsageMap = 0;
inline constexpr std::uint8_t kReferenceUsageMap = 1;

// The pages a usage map record marks, ascending. `owner` names the map in error messages.
// Every page must lie inside the file.
std::vector<std::uint32_t> readUsageMap(const PageStore& pages, ByteSpan record,
                                        const std::string& owner);

} // namespace jet::detail
