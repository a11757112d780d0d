#include "write/data_page.h"

#include "file/byte_writer.h"
#include "file/bytes.h"
#include "file/errors.h"
#include "read/slot_table.h"

#include <algorithm>
#include <string>

namespace jet::detail {
namespace {

constexpr std::size_t kMaxRowsPerPage = 255;

} // namespace

std::vector<std::uint8_t> newDataPage(const JetFormat& format, std::uint32_t tablePage) {
    std::vector<std::uint8_t> page(format.pageSize, 0);
    page[0] = static_cast<std::uint8_t>(PageType::Data);
    page[1] = 0x01;
    putLe16(page, kPageFreeSpaceOffset,
            static_cast<std::uint16_t>(format.pageSize - format.dataFirstSlotOffset()));
    putLe32(page, kPageOwnerOffset, tablePage);
    return page;
}

std::optional<std::uint8_t> appendRowToDataPage(const JetFormat& format,
                                                std::span<std::uint8_t> page,
                                                std::span<const std::uint8_t> row,
                                                std::uint32_t pageNumber) {
    const std::size_t countAt = format.dataRowCountOffset;
    const std::size_t firstSlot = format.dataFirstSlotOffset();
    std::uint16_t rows = le16(page.data() + countAt);
    if (firstSlot + 2 * std::size_t{rows} > page.size())
        throwCorruptPage(pageNumber, "the row count of a data page exceeds the page");
    if (rows >= kMaxRowsPerPage)
        return std::nullopt;

    // Rows grow down from the end of the page; the lowest row start bounds the free gap.
    std::size_t lowest = page.size();
    for (std::size_t i = 0; i < rows; ++i) {
        std::size_t start = le16(page.data() + firstSlot + 2 * i) & kRowOffsetMask;
        if (start < firstSlot + 2 * std::size_t{rows} || start >= page.size())
            throwCorruptPage(pageNumber, "row " + std::to_string(i) + " starts outside the page");
        lowest = std::min(lowest, start);
    }
    std::size_t slotsEnd = firstSlot + 2 * (std::size_t{rows} + 1);
    if (row.size() > lowest || lowest - row.size() < slotsEnd)
        return std::nullopt;

    std::size_t start = lowest - row.size();
    std::copy(row.begin(), row.end(), page.begin() + static_cast<std::ptrdiff_t>(start));
    putLe16(page, firstSlot + 2 * std::size_t{rows}, static_cast<std::uint16_t>(start));
    putLe16(page, countAt, static_cast<std::uint16_t>(rows + 1));
    std::uint16_t free = le16(page.data() + kPageFreeSpaceOffset);
    std::size_t used = rowSpaceUsage(row.size());
    putLe16(page, kPageFreeSpaceOffset, static_cast<std::uint16_t>(free >= used ? free - used : 0));
    return static_cast<std::uint8_t>(rows);
}

} // namespace jet::detail
