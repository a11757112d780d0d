#include "check/index_tree_check.h"

#include "file/errors.h"
#include "read/index_pages_read.h"

#include <set>
#include <vector>

namespace jet::detail {
namespace {

struct TreeWalk {
    const PageStore& pages;
    const JetFormat& format;
    std::uint32_t tablePage;
    const std::string& name;
    const std::function<void(std::string)>& fault;
    std::set<std::uint32_t> seen;
    std::vector<std::pair<std::uint32_t, IndexPage>> leaves; // in tree order
    std::set<std::size_t> leafDepths;

    // The last entry (key and row pointer) under `number`; empty when the page cannot be read.
    std::vector<std::uint8_t> visit(std::uint32_t number, std::size_t depth) {
        if (depth > 32 || number == 0 || !pages.contains(number) || !seen.insert(number).second)
            return {};
        const ByteSpan bytes = pages.page(number);
        if (!isIndexPageOf(bytes, tablePage))
            return {};
        IndexPage page = readIndexPage(format, bytes, number);
        if (page.leaf) {
            leafDepths.insert(depth);
            std::vector<std::uint8_t> last =
                page.entries.empty() ? std::vector<std::uint8_t>{} : page.entries.back();
            leaves.emplace_back(number, std::move(page));
            return last;
        }
        if (page.entries.empty()) {
            fault(name + ": index node page " + std::to_string(number) + " has no entries");
            return {};
        }
        for (const auto& entry : page.entries) {
            const std::uint32_t child = childPageOf(entry);
            const std::vector<std::uint8_t> last = visit(child, depth + 1);
            if (!last.empty() && !std::equal(last.begin(), last.end(), entry.begin(),
                                             entry.end() - kIndexChildPointerSize))
                fault(name + ": the entry of index page " + std::to_string(number) + " for page " +
                      std::to_string(child) + " is not that page's last entry");
        }
        if (page.tail != 0)
            return visit(page.tail, depth + 1);
        const auto& last = page.entries.back();
        return {last.begin(), last.end() - kIndexChildPointerSize};
    }
};

} // namespace

void checkIndexTree(const PageStore& pages, const JetFormat& format, std::uint32_t root,
                    std::uint32_t tablePage, const std::string& name,
                    const std::function<void(std::string)>& fault) {
    TreeWalk walk{pages, format, tablePage, name, fault, {}, {}, {}};
    try {
        walk.visit(root, 0);
    } catch (const Error&) {
        return; // reported by the leaf walk
    }
    if (walk.leafDepths.size() > 1)
        fault(name + ": its leaf pages lie at different depths");
    const auto& leaves = walk.leaves;
    for (std::size_t i = 0; i < leaves.size(); ++i) {
        const std::uint32_t previous = i == 0 ? 0 : leaves[i - 1].first;
        const std::uint32_t next = i + 1 == leaves.size() ? 0 : leaves[i + 1].first;
        if (leaves[i].second.previous != previous || leaves[i].second.next != next)
            fault(name + ": the links of index leaf page " + std::to_string(leaves[i].first) +
                  " do not follow the tree's order");
    }
}

} // namespace jet::detail
