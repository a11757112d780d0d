// Adding pages to and removing pages from usage maps in place, as appends need: a table's map
// of owned pages and of pages with free space, a long-value column's maps, and the database's
// map of free pages on page 1.
#pragma once

#include "file/format.h"
#include "file/page_source.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace jet::detail {

// Adds a new page to the file and returns its number (and records it as used).
using PageAllocator = std::function<std::uint32_t(std::vector<std::uint8_t>)>;

class UsageMapEditor {
public:
    // The map stored in the row `rowPointer` points at. `isFreePageMap` marks the database's own
    // map of free pages (page 1). Map pages it needs are added through `allocate`.
    UsageMapEditor(PageStore& pages, const JetFormat& format, PageAllocator allocate,
                   std::uint32_t rowPointer, bool isFreePageMap = false);

    // Sets or clears the page's bit: for a table's map, "the table owns it" (or "it has free
    // space"); for the database's map of free pages, "it is free".
    void add(std::uint32_t page);
    void remove(std::uint32_t page);

private:
    // The map row's bytes on its page (looked up afresh: pages may move as the store grows).
    std::span<std::uint8_t> row();
    void setInline(std::uint32_t page, bool on);
    void setReferenced(std::uint32_t page, bool on);
    void promoteToReference(std::uint32_t extraPage);
    std::uint32_t newMapPage();

    PageStore& pages_;
    const JetFormat& format_;
    PageAllocator allocate_;
    std::uint32_t mapPage_;
    std::uint8_t mapRow_;
    bool isFreePageMap_;
};

} // namespace jet::detail
