// Deterministic damage to a database file, aimed at each kind of page the engine reads.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace fuzzing {

using FileBytes = std::vector<std::uint8_t>;

enum class PageKind { Header, Data, LongValue, TableDefinition, Index, UsageMap, Other };
const char* pageKindName(PageKind kind);

struct PageLayout {
    std::uint32_t pageSize = 0;
    bool encrypted = false;      // page contents unreadable without the key: kinds are unknown
    std::vector<PageKind> kinds; // one per page
};

// Reads the page size from the header and the kind of each page from its first byte.
PageLayout describePages(const FileBytes& file);

// Calls visit(description, damagedCopy) for every mutation of the file; `perPageKind` bounds
// how many pages of each kind are damaged.
void forEachMutation(const FileBytes& file, int perPageKind,
                     const std::function<void(const std::string&, const FileBytes&)>& visit);

} // namespace fuzzing
