#include "write/index_tree.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "read/index_pages_read.h"

#include <algorithm>
#include <span>

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

// Where to cut `entries` (in order, the whole of one page) so that every run fits a page: in
// halves by bytes, and each half again while it does not fit, as the prefix a run's entries
// share, and so its size, changes with the run. Appends the cuts, counted from `offset`, in order.
void addFittingCuts(std::span<const IndexEntryBytes> entries, bool leaf, std::size_t capacity,
                    std::size_t offset, std::uint32_t page, std::vector<std::size_t>& cuts) {
    if (indexEntriesUsage(entries, leaf) <= capacity)
        return;
    if (entries.size() < 2)
        throwCorruptPage(page, "an index entry larger than a page");
    std::size_t total = 0;
    for (const IndexEntryBytes& e : entries)
        total += e.size();
    std::size_t cut = 1;
    for (std::size_t before = entries[0].size(); cut + 1 < entries.size() && 2 * before < total;
         ++cut)
        before += entries[cut].size();
    addFittingCuts(entries.first(cut), leaf, capacity, offset, page, cuts);
    cuts.push_back(offset + cut);
    addFittingCuts(entries.subspan(cut), leaf, capacity, offset + cut, page, cuts);
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
        split(path, level, capacity); // then the page above, which gained entries
    }
}

void IndexTree::split(std::vector<Step>& path, std::size_t level, std::size_t capacity) {
    const std::uint32_t full = path[level].page;
    const bool leaf = node(full).contents.leaf;
    std::vector<IndexEntryBytes> entries = std::move(node(full).contents.entries);
    std::vector<std::size_t> cuts;
    addFittingCuts(entries, leaf, capacity, 0, full, cuts);
    // Every run but the last goes to a new page before the page it came from, in order; the
    // last stays, and with it the page's entry in the page above.
    std::vector<std::uint32_t> runs;
    std::uint32_t previous = node(full).contents.previous;
    std::size_t begin = 0;
    cuts.push_back(entries.size());
    for (std::size_t cut : cuts) {
        const std::uint32_t page = cut == entries.size() ? full : newPage(leaf);
        Node& run = node(page);
        run.contents.entries.assign(
            std::make_move_iterator(entries.begin() + static_cast<long>(begin)),
            std::make_move_iterator(entries.begin() + static_cast<long>(cut)));
        run.contents.previous = previous;
        if (previous != 0)
            setNext(previous, page);
        dirty_.push_back(page);
        runs.push_back(page);
        previous = page;
        begin = cut;
    }
    // Leaves are linked end to end; nodes only to pages with the same parent.
    for (std::size_t i = 0; !leaf && i + 1 < runs.size(); ++i) {
        const std::uint32_t lastChild = childPageOf(node(runs[i]).contents.entries.back());
        const std::uint32_t firstChild = childPageOf(node(runs[i + 1]).contents.entries.front());
        if (!node(lastChild).contents.leaf) {
            setNext(lastChild, 0);
            setPrevious(firstChild, 0);
        }
    }
    runs.pop_back();
    std::vector<IndexEntryBytes> above;
    for (std::uint32_t page : runs)
        above.push_back(entryAbove(page));
    Step& parentStep = path[level - 1];
    auto& parentEntries = node(parentStep.page).contents.entries;
    parentEntries.insert(parentEntries.begin() + static_cast<long>(parentStep.child),
                         std::make_move_iterator(above.begin()),
                         std::make_move_iterator(above.end()));
    parentStep.child += runs.size();
    dirty_.push_back(parentStep.page);
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
