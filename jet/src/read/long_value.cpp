#include "read/long_value.h"

#include "file/errors.h"
#include "read/slot_table.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <unordered_set>

namespace jet::detail {

namespace {

ByteSpan longValueRow(const PageStore& pages, const JetFormat& format, std::uint32_t pointer,
                      const FieldLabel& where, NearbyPages* nearby) {
    const std::uint32_t number = rowPointerPage(pointer);
    const auto data = static_cast<std::uint8_t>(PageType::Data);
    ByteSpan page;
    if (nearby && nearby->readAhead && nearby->readAhead->holds(number)) {
        page = nearby->readAhead->page(number);
    } else if (nearby) {
        PageRun& last = nearby->lastLongValuePage;
        if (!last.holds(number)) {
            last = PageRun(); // its memory back first, to be lent again at once
            last = pages.readRun(number, 1);
        }
        if (last.holds(number))
            page = last.page(number);
    }
    if (page.empty() || page[0] != data)
        page = pages.pageOfType(number, data, "a long-value page");
    if (!isLongValuePage(page))
        throwCorruptPage(number, "the long value of " + where.text() +
                                     " points to a page that is not a long-value page");
    return pointedRow(format, page, number, static_cast<std::uint16_t>(rowPointerRow(pointer)),
                      [&] { return "the long value of " + where.text(); })
        .bytes;
}

} // namespace

ByteSpan readLongValue(const PageStore& pages, const JetFormat& format, ByteSpan field,
                       std::uint32_t rowPage, const FieldLabel& where,
                       std::vector<std::uint8_t>& scratch, NearbyPages* nearby) {
    if (field.size() < kLongValueHeaderSize)
        throwCorruptPage(rowPage, where.text() + " has a long-value header of only " +
                                      std::to_string(field.size()) + " bytes");
    const auto [length, kind, pointer] = parseLongValueHeader(field);
    if (length > pages.fileSize())
        throwCorruptPage(rowPage, where.text() + " claims a value of " + std::to_string(length) +
                                      " bytes, more than the whole file");
    switch (kind) {
    case kLongValueInline:
        if (length > field.size() - kLongValueHeaderSize)
            throwCorruptPage(rowPage, where.text() + " has an inline value longer than its field");
        return field.subspan(kLongValueHeaderSize, length);
    case kLongValueSingleRow: {
        ByteSpan row = longValueRow(pages, format, pointer, where, nearby);
        if (row.size() < length)
            throwCorruptPage(rowPointerPage(pointer), where.text() +
                                                          " has a long value shorter than its "
                                                          "stated length");
        return row.first(length);
    }
    case kLongValueChained: {
        scratch.clear();
        scratch.reserve(length);
        std::uint32_t next = pointer;
        std::unordered_set<std::uint32_t> visited;
        while (scratch.size() < length) {
            if (next != 0 && !visited.insert(next).second)
                throwCorruptPage(rowPointerPage(next),
                                 where.text() + " has a long-value chain that loops back to row " +
                                     std::to_string(rowPointerRow(next)));
            if (next == 0)
                throwCorruptPage(rowPage, where.text() + " has a long value that ends after " +
                                              std::to_string(scratch.size()) + " of " +
                                              std::to_string(length) + " bytes");
            ByteSpan row = longValueRow(pages, format, next, where, nearby);
            if (row.size() <= 4)
                throwCorruptPage(rowPointerPage(next),
                                 where.text() + " has an empty piece in its long-value chain");
            const std::size_t take = std::min<std::size_t>(row.size() - 4, length - scratch.size());
            scratch.insert(scratch.end(), row.begin() + 4, row.begin() + 4 + take);
            next = le32(row.data());
        }
        return scratch;
    }
    default:
        throwCorruptPage(rowPage,
                         where.text() + " has an unknown long-value kind " + std::to_string(kind));
    }
}

} // namespace jet::detail
