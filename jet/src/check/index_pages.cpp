#include "check/index_pages.h"

#include "file/bytes.h"

#include <set>

namespace jet::detail {

namespace {

std::uint32_t be32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// The child pages a node's entries end in.
void addChildren(const JetFormat& format, ByteSpan node, std::vector<std::uint32_t>& out) {
    const std::size_t maskBits = (format.indexFirstEntryOffset - format.indexEntryMaskOffset) * 8;
    for (std::size_t bit = 1; bit < maskBits; ++bit) {
        if (!((node[format.indexEntryMaskOffset + bit / 8] >> (bit % 8)) & 1))
            continue;
        const std::size_t end = format.indexFirstEntryOffset + bit;
        if (end > node.size())
            break;
        out.push_back(be32(node.data() + end - 4));
    }
    if (const std::uint32_t tail = le32(node.data() + kIndexTailPageOffset))
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
        const auto type = static_cast<PageType>(bytes[0]);
        if ((type != PageType::IndexNode && type != PageType::IndexLeaf) ||
            le32(bytes.data() + kPageOwnerOffset) != tablePage) {
            fault(where + ": in the tree of " + index + " but not one of its index pages");
            continue;
        }
        reached.push_back(page);
        if (type == PageType::IndexNode)
            addChildren(format, bytes, pending);
    }
    return reached;
}

} // namespace jet::detail
