// Placing rows on data pages (Jet 3 and Jet 4): the page header, the slot table that grows from
// the front and the rows that grow from the back.
#pragma once

#include "file/format.h"

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace jet::detail {

// An empty data page of the table whose definition is on `tablePage`.
std::vector<std::uint8_t> newDataPage(const JetFormat& format, std::uint32_t tablePage);

// Bytes a row of `rowSize` takes on a page, its slot included.
inline std::size_t rowSpaceUsage(std::size_t rowSize) {
    return rowSize + 2;
}

// Adds `row` after the page's last row and returns its row number, or nothing when the page
// has no room (or already holds 255 rows). ErrorKind Corrupt when the page's header or slot
// table does not make sense.
std::optional<std::uint8_t> appendRowToDataPage(const JetFormat& format,
                                                std::span<std::uint8_t> page,
                                                std::span<const std::uint8_t> row,
                                                std::uint32_t pageNumber);

} // namespace jet::detail
