// Inline usage maps as new databases store them: a type byte, the first page the map covers and
// one bit a page.
#pragma once

#include <cstdint>
#include <vector>

namespace jet::detail {

constexpr std::size_t kJet4InlineMapBytes = 64;
constexpr std::size_t kJet4InlineMapRowSize = 1 + 4 + kJet4InlineMapBytes;

// A map from page 0 with the bits of `pages` set. ErrorKind Invalid for a page past its reach.
std::vector<std::uint8_t> encodeInlineUsageMap(const std::vector<std::uint32_t>& pages);

// The database's map of free pages: every page from `pageCount` on is free.
std::vector<std::uint8_t> encodeFreePageMap(std::uint32_t pageCount);

} // namespace jet::detail
