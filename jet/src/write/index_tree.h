// One index's B-tree of pages, changed in place as entries are added. Leaves hold the entries in
// order and are linked end to end; a node holds, for each child page, the child's last entry
// and the child's number (the last child named by the page's tail instead). The root page never
// moves: when it is full its entries move down to a new page under it.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "write/index_page_writer.h"
#include "write/usage_map_editor.h"

#include <cstdint>
#include <map>
#include <vector>

namespace jet::detail {

class IndexTree {
public:
    // The index whose root is `root`, of the table whose definition starts at `tablePage`; new
    // pages are recorded in the index's usage map at `usageMapPointer`.
    IndexTree(PageStore& pages, const JetFormat& format, PageAllocator allocate,
              std::uint32_t tablePage, std::uint32_t root, std::uint32_t usageMapPointer);

    // Whether an entry with exactly this key (row pointer aside) is in the tree.
    bool containsKey(const std::vector<std::uint8_t>& key);

    // Adds the entry for `key` and the row at `rowPage`/`rowSlot`. A page that no longer fits
    // (by bytes: a new first entry can shorten the prefix every entry shares) is split into as
    // many pages as it takes, and so is each page above that its new entries overflow.
    void insert(const std::vector<std::uint8_t>& key, std::uint32_t rowPage, std::uint8_t rowSlot);

private:
    // A page as the tree sees it: every child of a node as an entry, the tail included.
    struct Node {
        IndexPageContents contents;
    };
    struct Step {
        std::uint32_t page;
        std::size_t child; // the entry followed down
    };

    Node& node(std::uint32_t number);
    // The entry for page `number` in the page above: its last entry (key and row pointer), then
    // its number.
    IndexEntryBytes entryAbove(std::uint32_t number);
    std::vector<Step> pathTo(const IndexEntryBytes& entry);
    void splitUpwards(std::vector<Step>& path);
    // Splits the page at `level` of `path` into as many pages as it takes for each to fit.
    void split(std::vector<Step>& path, std::size_t level, std::size_t capacity);
    std::uint32_t newPage(bool leaf);
    void setPrevious(std::uint32_t page, std::uint32_t previous);
    void setNext(std::uint32_t page, std::uint32_t next);
    void flush();

    PageStore& pages_;
    const JetFormat& format_;
    PageAllocator allocate_;
    std::uint32_t tablePage_;
    std::uint32_t root_;
    std::uint32_t usageMap_;
    std::map<std::uint32_t, Node> nodes_; // decoded pages, kept in step with the file's
    std::vector<std::uint32_t> dirty_;    // pages changed since the last flush
};

} // namespace jet::detail
