#include "write/usage_map_editor.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "read/slot_table.h"
#include "read/usage_map.h"

#include <algorithm>
#include <string>
#include <vector>

namespace jet::detail {

UsageMapEditor::UsageMapEditor(PageStore& pages, const JetFormat& format, PageAllocator allocate,
                               std::uint32_t rowPointer, bool isFreePageMap)
    : pages_(pages), format_(format), allocate_(std::move(allocate)),
      mapPage_(rowPointerPage(rowPointer)),
      mapRow_(static_cast<std::uint8_t>(rowPointerRow(rowPointer))), isFreePageMap_(isFreePageMap) {
    std::span<std::uint8_t> r = row();
    if (r.size() < kInlineMapHeaderSize || (r[0] != kInlineUsageMap && r[0] != kReferenceUsageMap))
        throwCorruptPage(mapPage_, "holds no usage map in row " + std::to_string(mapRow_));
}

std::span<std::uint8_t> UsageMapEditor::row() {
    ByteSpan page = pages_.page(mapPage_);
    ByteSpan bytes = pointedRow(format_, page, mapPage_, mapRow_, [] {
                         return std::string("the pointer to a usage map");
                     }).bytes;
    const auto offset = static_cast<std::size_t>(bytes.data() - page.data());
    return pages_.mutablePage(mapPage_).subspan(offset, bytes.size());
}

void UsageMapEditor::add(std::uint32_t page) {
    if (row()[0] == kInlineUsageMap)
        setInline(page, true);
    else
        setReferenced(page, true);
}

void UsageMapEditor::remove(std::uint32_t page) {
    if (row()[0] == kInlineUsageMap)
        setInline(page, false);
    else
        setReferenced(page, false);
}

void UsageMapEditor::setInline(std::uint32_t page, bool on) {
    std::span<std::uint8_t> r = row();
    std::uint32_t start = le32(r.data() + 1);
    std::span<std::uint8_t> bits = r.subspan(kInlineMapHeaderSize);
    const std::uint64_t reach = bits.size() * 8;
    if (page >= start && page - start < reach) {
        setUsageBit(bits, page - start, on);
        return;
    }
    // Outside the window. A page that is not in the map needs no clearing. The map of free
    // pages records nothing outside its window either: Jet takes such pages as in use (Access
    // itself leaves pages past a window starting at 0 unmapped), so they are never handed out.
    if (!on || isFreePageMap_)
        return;

    std::vector<std::uint32_t> marked;
    for (std::uint64_t i = 0; i < reach; ++i)
        if (usageBit(bits, i))
            marked.push_back(static_cast<std::uint32_t>(start + i));
    marked.push_back(page);
    std::sort(marked.begin(), marked.end());
    std::uint32_t first = marked.front() / 8 * 8;
    if (marked.back() - first < reach) {
        std::fill(bits.begin(), bits.end(), 0);
        putLe32(r, 1, first);
        for (std::uint32_t p : marked)
            setUsageBit(bits, p - first, true);
        return;
    }
    promoteToReference(page);
}

void UsageMapEditor::promoteToReference(std::uint32_t extraPage) {
    std::vector<std::uint32_t> marked = readUsageMap(pages_, row(), "a table");
    marked.push_back(extraPage);
    {
        std::span<std::uint8_t> r = row();
        std::fill(r.begin(), r.end(), 0);
        r[0] = kReferenceUsageMap;
    }
    for (std::uint32_t p : marked)
        setReferenced(p, true);
}

std::uint32_t UsageMapEditor::newMapPage() {
    std::vector<std::uint8_t> page(pages_.pageSize(), 0);
    page[0] = static_cast<std::uint8_t>(PageType::UsageMap);
    page[1] = 0x01;
    return allocate_(std::move(page));
}

void UsageMapEditor::setReferenced(std::uint32_t page, bool on) {
    const std::uint64_t perMapPage = pagesPerMapPage(pages_.pageSize());
    const std::size_t slot = page / perMapPage;
    const std::size_t slots = (row().size() - 1) / 4;
    std::uint32_t mapPage = slot < slots ? le32(row().data() + 1 + slot * 4) : 0;
    if (mapPage == 0) {
        // Unmapped pages are neither in a table's map nor free, so only adding a page to a
        // table's map needs a new map page.
        if (!on || isFreePageMap_)
            return;
        if (slot >= slots)
            throw Error(ErrorKind::Invalid, "page " + std::to_string(page) +
                                                " lies beyond what a usage map can record");
        mapPage = newMapPage();
        putLe32(row(), 1 + slot * 4, mapPage);
    } else if (mapPage >= pages_.pageCount() ||
               pages_.page(mapPage)[0] != static_cast<std::uint8_t>(PageType::UsageMap)) {
        throwCorruptPage(mapPage, "is listed as a usage map page but is not one");
    }
    std::span<std::uint8_t> bits = pages_.mutablePage(mapPage).subspan(kMapPageHeaderSize);
    setUsageBit(bits, page % perMapPage, on);
}

} // namespace jet::detail
