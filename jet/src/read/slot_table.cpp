#include "read/slot_table.h"

namespace jet::detail {

std::uint16_t slotCount(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber) {
    const std::uint16_t count = le16(page.data() + format.dataRowCountOffset);
    if (!fits(page.size(), format.dataFirstSlotOffset(), std::size_t{count} * 2))
        throwCorruptPage(pageNumber, "row count " + std::to_string(count) +
                                         " does not fit the page's slot table");
    return count;
}

RowSlot rowSlot(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber,
                std::uint16_t slot) {
    const std::uint16_t raw = slotEntry(format, page, slot);
    RowSlot result;
    result.flags = raw & ~kRowOffsetMask;
    if ((result.flags & (kRowIsMoveTarget | kRowMoved)) == (kRowIsMoveTarget | kRowMoved))
        return result;
    const std::size_t start = raw & kRowOffsetMask;
    const std::size_t end =
        slot == 0
            ? page.size()
            : (slotEntry(format, page, static_cast<std::uint16_t>(slot - 1)) & kRowOffsetMask);
    const std::size_t slotTableEnd = format.dataFirstSlotOffset() +
                                     std::size_t{le16(page.data() + format.dataRowCountOffset)} * 2;
    if (start < slotTableEnd || start >= end || end > page.size())
        throwCorruptPage(pageNumber, "row " + std::to_string(slot) + " has bad bounds " +
                                         std::to_string(start) + ".." + std::to_string(end));
    result.bytes = page.subspan(start, end - start);
    return result;
}

ByteSpan rowAtPointer(const PageStore& pages, const JetFormat& format, std::uint32_t pointer,
                      const std::string& owner) {
    const std::uint32_t number = rowPointerPage(pointer);
    ByteSpan page =
        pages.pageOfType(number, static_cast<std::uint8_t>(PageType::Data), "a data page");
    return pointedRow(format, page, number, static_cast<std::uint16_t>(rowPointerRow(pointer)),
                      [&] { return owner; })
        .bytes;
}

} // namespace jet::detail
