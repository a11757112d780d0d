#include "write/long_value_writer.h"

#include "file/byte_writer.h"
#include "file/bytes.h"
#include "jet/error.h"
#include "read/long_value.h"
#include "write/data_page.h"

namespace jet::detail {
namespace {

constexpr std::uint32_t kMaxLongValueLength = kLongValueLengthMask;

// A field's 12-byte header, then `data` when the value is inline.
std::vector<std::uint8_t> header(std::uint32_t length, std::uint8_t kind, std::uint32_t pointer,
                                 std::span<const std::uint8_t> data = {}) {
    ByteWriter w(kLongValueHeaderSize + data.size());
    w.u32(length | (std::uint32_t{kind} << 24));
    w.u32(pointer);
    w.u32(0);
    w.append(data);
    return w.take();
}

// Room for the longest row an empty LVAL page takes: the page less its header and one slot.
std::size_t maxLongValueRow(const JetFormat& format) {
    return format.pageSize - format.dataFirstSlotOffset() - 2;
}

// Puts one row on an LVAL page of the column, adding a page when none has room.
std::uint32_t placeLongValueRow(PageStore& pages, const JetFormat& format,
                                const PageAllocator& allocate, LongValuePages& where,
                                const std::vector<std::uint8_t>& row) {
    if (where.current != 0 && where.current < pages.pageCount() &&
        isLongValuePage(pages.page(where.current))) {
        if (auto slot =
                appendRowToDataPage(format, pages.mutablePage(where.current), row, where.current))
            return makeRowPointer(where.current, *slot);
        if (where.freeMap)
            UsageMapEditor(pages, format, allocate, where.freeMap).remove(where.current);
    }
    std::uint32_t page = allocate(newDataPage(format, kLongValuePageMarker));
    if (where.ownedMap) {
        UsageMapEditor(pages, format, allocate, where.ownedMap).add(page);
        UsageMapEditor(pages, format, allocate, where.freeMap).add(page);
    }
    where.current = page;
    auto slot = appendRowToDataPage(format, pages.mutablePage(page), row, page);
    if (!slot)
        throw Error(ErrorKind::Invalid, "a long-value row does not fit an empty page");
    return makeRowPointer(page, *slot);
}

} // namespace

std::vector<std::uint8_t> inlineLongValue(const std::vector<std::uint8_t>& value) {
    return header(static_cast<std::uint32_t>(value.size()), kLongValueInline, 0, value);
}

std::vector<std::uint8_t> storeLongValue(PageStore& pages, const JetFormat& format,
                                         const PageAllocator& allocate, LongValuePages& where,
                                         const std::vector<std::uint8_t>& value) {
    if (value.size() > kMaxLongValueLength)
        throw Error(ErrorKind::Invalid, "a long value holds at most 1 GB");
    const auto length = static_cast<std::uint32_t>(value.size());
    const std::size_t maxRow = maxLongValueRow(format);
    if (value.size() <= maxRow)
        return header(length, kLongValueSingleRow,
                      placeLongValueRow(pages, format, allocate, where, value));

    // Chained: each row starts with a pointer to the next one. Written back to front, so each
    // row knows where its successor went; every chunk fills a page of its own.
    const std::size_t chunk = maxRow - 4;
    std::size_t chunks = (value.size() + chunk - 1) / chunk;
    std::uint32_t next = 0;
    for (std::size_t i = chunks; i-- > 0;) {
        std::size_t begin = i * chunk;
        std::size_t end = std::min(value.size(), begin + chunk);
        ByteWriter row;
        row.u32(next);
        row.append(std::span(value.data() + begin, end - begin));
        where.current = 0; // a fresh page for every chunk
        next = placeLongValueRow(pages, format, allocate, where, row.bytes());
    }
    return header(length, kLongValueChained, next);
}

} // namespace jet::detail
