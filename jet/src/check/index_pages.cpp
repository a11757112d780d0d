#include "check/index_pages.h"

#include "read/index_pages_read.h"

#include <set>

namespace jet::detail {

namespace {

// The child pages a node's entries end in, and the last one, which the node names apart.
void addChildren(const JetFormat& format, ByteSpan node, std::vector<std::uint32_t>& out) {
    for (std::size_t end : indexEntryEnds(format, node)) {
        if (format.indexFirstEntryOffset + end > node.size())
            break;
        if (end > 0)
            out.push_back(childPageOf(node.first(format.indexFirstEntryOffset + end)));
    }
    if (const std::uint32_t tail = le32(node.data() + IndexPageLayout::of(format).tailPage))
        out.push_back(tail);
}

} // namespace

std::vector<std::uint32_t> indexTreePages(const PageStore& pages, const JetFormat& format,
                                          std::uint32_t root, std::uint32_t tablePage,
                                          const std::string& index,
                                          const std::function<void(std::string)>& fault) {
    std::vector<std::uint32_t> reached;
    std::set<std::uint32_t> seen;
    std::vector<std::uint32_t> pending{root};
    while (!pending.empty()) {
        const std::uint32_t page = pending.back();
        pending.pop_back();
        if (!seen.insert(page).second)
            continue;
        const std::string where = "page " + std::to_string(page);
        if (page == 0 || page >= pages.pageCount()) {
            fault(where + ": in the tree of " + index + " but past the end of the file");
            continue;
        }
        ByteSpan bytes = pages.page(page);
        if (!isIndexPageOf(bytes, tablePage)) {
            fault(where + ": in the tree of " + index + " but not one of its index pages");
            continue;
        }
        reached.push_back(page);
        if (bytes[0] == static_cast<std::uint8_t>(PageType::IndexNode))
            addChildren(format, bytes, pending);
    }
    return reached;
}

} // namespace jet::detail
