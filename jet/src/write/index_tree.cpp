#include "write/index_tree.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "read/index_pages_read.h"

#include <algorithm>

namespace jet::detail {
namespace {

// Entries in index order: by key, then by row pointer. `a` and `b` are key + row pointer.
bool entryLess(const std::uint8_t* a, std::size_t aSize, const std::uint8_t* b, std::size_t bSize) {
    const std::size_t aKey = aSize - kIndexRowPointerSize;
    const std::size_t bKey = bSize - kIndexRowPointerSize;
    const auto keys = std::lexicographical_compare_three_way(a, a + aKey, b, b + bKey);
    if (keys != 0)
        return keys < 0;
    return std::lexicographical_compare(a + aKey, a + aSize, b + bKey, b + bSize);
}

// An entry without its child page (nodes) or as it is (leaves): key + row pointer.
std::size_t comparedSize(const IndexEntryBytes& entry, bool leaf) {
    return leaf ? entry.size() : entry.size() - kIndexChildPointerSize;
}

} // namespace

IndexTree::IndexTree(PageStore& pages, const JetFormat& format, PageAllocator allocate,
                     std::uint32_t tablePage, std::uint32_t root, std::uint32_t usageMapPointer)
    : pages_(pages), format_(format), allocate_(std::move(allocate)), tablePage_(tablePage),
      root_(root), usageMap_(usageMapPointer) {}

IndexTree::Node& IndexTree::node(std::uint32_t number) {
    auto found = nodes_.find(number);
    if (found != nodes_.end())
        return found->second;
    IndexPage read = readIndexPageOf(pages_, format_, number, tablePage_);
    Node n;
    n.contents = {read.leaf, read.previous, read.next, std::move(read.entries)};
    if (!read.leaf && read.tail != 0) {
        if (nodes_.size() > pages_.pageCount())
            throwCorruptPage(number, "index pages loop");
        n.contents.entries.push_back(entryAbove(read.tail));
    }
    return nodes_.emplace(number, std::move(n)).first->second;
}

IndexEntryBytes IndexTree::entryAbove(std::uint32_t number) {
    const Node& n = node(number);
    if (n.contents.entries.empty())
        throwCorruptPage(number, "an index page without entries has entries under it");
    const IndexEntryBytes& last = n.contents.entries.back();
    IndexEntryBytes entry(last.begin(),
                          last.begin() + static_cast<long>(comparedSize(last, n.contents.leaf)));
    appendBigEndian(entry, number, kIndexChildPointerSize);
    return entry;
}

std::vector<IndexTree::Step> IndexTree::pathTo(const IndexEntryBytes& entry) {
    std::vector<Step> path;
    std::uint32_t number = root_;
    for (;;) {
        if (path.size() > 64)
            throwCorruptPage(number, "index pages loop");
        const Node& n = node(number);
        const auto& entries = n.contents.entries;
        const bool leaf = n.contents.leaf;
        // The first entry not before `entry`.
        const auto at = std::partition_point(entries.begin(), entries.end(), [&](const auto& e) {
            return entryLess(e.data(), comparedSize(e, leaf), entry.data(), entry.size());
        });
        std::size_t position = static_cast<std::size_t>(at - entries.begin());
        if (leaf) {
            path.push_back({number, position});
            return path;
        }
        if (entries.empty())
            throwCorruptPage(number, "an index node without entries");
        position = std::min(position, entries.size() - 1);
        path.push_back({number, position});
        number = childPageOf(entries[position]);
    }
}

bool IndexTree::containsKey(const std::vector<std::uint8_t>& key) {
    IndexEntryBytes probe = key;
    probe.resize(key.size() + kIndexRowPointerSize, 0);
    const std::vector<Step> path = pathTo(probe);
    const auto& entries = node(path.back().page).contents.entries;
    if (path.back().child >= entries.size())
        return false;
    const IndexEntryBytes& found = entries[path.back().child];
    return found.size() == probe.size() && std::equal(key.begin(), key.end(), found.begin());
}

void IndexTree::insert(const std::vector<std::uint8_t>& key, std::uint32_t rowPage,
                       std::uint8_t rowSlot) {
    const IndexEntryBytes entry = leafEntry(key, rowPage, rowSlot);
    std::vector<Step> path = pathTo(entry);
    Node& leaf = node(path.back().page);
    leaf.contents.entries.insert(
        leaf.contents.entries.begin() + static_cast<long>(path.back().child), entry);
    dirty_.push_back(path.back().page);
    // A new last entry of a page changes its entry in the page above.
    for (std::size_t level = path.size() - 1; level > 0; --level) {
        IndexEntryBytes entry = entryAbove(path[level].page);
        IndexEntryBytes& above = node(path[level - 1].page).contents.entries[path[level - 1].child];
        if (entry == above)
            break;
        above = std::move(entry);
        dirty_.push_back(path[level - 1].page);
    }
    splitUpwards(path);
    flush();
}

void IndexTree::splitUpwards(std::vector<Step>& path) {
    const std::size_t capacity = indexPageCapacity(format_);
    for (std::size_t level = path.size(); level-- > 0;) {
        if (indexPageUsage(node(path[level].page).contents) <= capacity)
            continue;
        if (level == 0) {
            // The root keeps its page: its entries move to a new page under it.
            Node& root = node(root_);
            const std::uint32_t moved = newPage(root.contents.leaf);
            Node& under = node(moved);
            under.contents.entries = std::move(root.contents.entries);
            root.contents.entries.clear();
            root.contents.leaf = false;
            root.contents.entries.push_back(entryAbove(moved));
            dirty_.push_back(root_);
            path.insert(path.begin() + 1, Step{moved, path[0].child});
            path[0].child = 0;
            level = 2; // the loop goes on with the moved page
            continue;
        }
        split(path, level); // then the page above, which gained an entry
    }
}

namespace {

// The bytes `contents` would take holding only its entries [from, to).
std::size_t usageOfPart(const IndexPageContents& contents, std::size_t from, std::size_t to) {
    IndexPageContents part;
    part.leaf = contents.leaf;
    part.entries.assign(contents.entries.begin() + static_cast<long>(from),
                        contents.entries.begin() + static_cast<long>(to));
    return indexPageUsage(part);
}

// Where a full page splits: the entries before it go to a new page. Halving the bytes rather
// than the entries, so that keys of very different lengths (a short one beside a long text)
// leave both halves within a page; then moved until both fit, when they can.
std::size_t splitPoint(const IndexPageContents& contents, std::size_t capacity) {
    const auto& entries = contents.entries;
    std::size_t total = 0;
    for (const auto& e : entries)
        total += e.size();
    std::size_t cut = 1;
    for (std::size_t before = entries[0].size(); cut + 1 < entries.size() && before < total / 2;
         ++cut)
        before += entries[cut].size();
    while (cut > 1 && usageOfPart(contents, 0, cut) > capacity)
        --cut;
    while (cut + 1 < entries.size() && usageOfPart(contents, cut, entries.size()) > capacity)
        ++cut;
    return cut;
}

} // namespace

void IndexTree::split(std::vector<Step>& path, std::size_t level) {
    const std::uint32_t full = path[level].page;
    const std::uint32_t head = newPage(node(full).contents.leaf);
    Node& right = node(full);
    Node& left = node(head);
    const std::size_t count = right.contents.entries.size();
    if (count < 2)
        throwCorruptPage(full, "an index entry larger than a page");
    const auto middle = right.contents.entries.begin() +
                        static_cast<long>(splitPoint(right.contents, indexPageCapacity(format_)));
    left.contents.entries.assign(std::make_move_iterator(right.contents.entries.begin()),
                                 std::make_move_iterator(middle));
    right.contents.entries.erase(right.contents.entries.begin(), middle);
    // The first half goes before the page it came from.
    left.contents.previous = right.contents.previous;
    left.contents.next = full;
    if (right.contents.previous != 0)
        setNext(right.contents.previous, head);
    right.contents.previous = head;
    dirty_.push_back(full);
    // Leaves are linked end to end; nodes only to pages with the same parent.
    if (!left.contents.leaf) {
        const std::uint32_t lastChild = childPageOf(left.contents.entries.back());
        const std::uint32_t firstChild = childPageOf(right.contents.entries.front());
        if (!node(lastChild).contents.leaf) {
            setNext(lastChild, 0);
            setPrevious(firstChild, 0);
        }
    }
    IndexEntryBytes entry = entryAbove(head);
    Node& parent = node(path[level - 1].page);
    parent.contents.entries.insert(parent.contents.entries.begin() +
                                       static_cast<long>(path[level - 1].child),
                                   std::move(entry));
    dirty_.push_back(path[level - 1].page);
}

std::uint32_t IndexTree::newPage(bool leaf) {
    std::vector<std::uint8_t> bytes(format_.pageSize, 0);
    IndexPageContents contents;
    contents.leaf = leaf;
    writeIndexPage(format_, bytes, contents, tablePage_);
    const std::uint32_t number = allocate_(std::move(bytes));
    UsageMapEditor(pages_, format_, allocate_, usageMap_).add(number);
    nodes_[number].contents = contents;
    dirty_.push_back(number);
    return number;
}

void IndexTree::setPrevious(std::uint32_t page, std::uint32_t previous) {
    node(page).contents.previous = previous;
    dirty_.push_back(page);
}

void IndexTree::setNext(std::uint32_t page, std::uint32_t next) {
    node(page).contents.next = next;
    dirty_.push_back(page);
}

void IndexTree::flush() {
    std::sort(dirty_.begin(), dirty_.end());
    dirty_.erase(std::unique(dirty_.begin(), dirty_.end()), dirty_.end());
    for (std::uint32_t number : dirty_)
        writeIndexPage(format_, pages_.mutablePage(number), node(number).contents, tablePage_);
    dirty_.clear();
}

} // namespace jet::detail
