// Building Jet 4 index leaf pages.
#pragma once

#include <cstdint>
#include <vector>

namespace jet::detail {

// A complete leaf page holding `entries` (each a full entry: key bytes then row pointer) in the
// order given, which must be the index order. An empty list gives the page of an empty index.
// ErrorKind Invalid when the entries do not fit one page.
std::vector<std::uint8_t> buildIndexLeafPage(std::uint32_t tablePage,
                                             const std::vector<std::vector<std::uint8_t>>& entries);

} // namespace jet::detail
