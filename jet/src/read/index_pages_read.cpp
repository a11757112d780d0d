#include "read/index_pages_read.h"

#include "file/errors.h"

#include <set>

namespace jet::detail {

const IndexPageLayout& IndexPageLayout::of(const JetFormat& format) {
    static const IndexPageLayout jet3{8, 12, 16, 20, 1};
    static const IndexPageLayout jet4{12, 16, 20, 24, 2};
    return format.version == Version::Jet3 ? jet3 : jet4;
}

bool isIndexPageOf(ByteSpan page, std::uint32_t tablePage) {
    const auto type = static_cast<PageType>(page[0]);
    return (type == PageType::IndexNode || type == PageType::IndexLeaf) &&
           le32(page.data() + kPageOwnerOffset) == tablePage;
}

std::vector<std::size_t> indexEntryEnds(const JetFormat& format, ByteSpan page) {
    std::vector<std::size_t> ends;
    const std::uint8_t* mask = page.data() + format.indexEntryMaskOffset;
    for (std::size_t byte = 0; byte < format.indexEntryMaskBits() / 8; ++byte)
        for (unsigned bits = mask[byte], bit = 0; bits != 0; bits >>= 1, ++bit)
            if (bits & 1)
                ends.push_back(byte * 8 + bit);
    return ends;
}

std::uint32_t childPageOf(ByteSpan entry) {
    return be(entry.data() + entry.size() - kIndexChildPointerSize, kIndexChildPointerSize);
}

IndexPage readIndexPage(const JetFormat& format, ByteSpan page, std::string& fault) {
    const IndexPageLayout& layout = IndexPageLayout::of(format);
    IndexPage out;
    out.leaf = page[0] == static_cast<std::uint8_t>(PageType::IndexLeaf);
    out.previous = le32(page.data() + layout.previousPage);
    out.next = le32(page.data() + layout.nextPage);
    out.tail = le32(page.data() + layout.tailPage);
    out.prefixLength = layout.prefixLengthSize == 1 ? page[layout.prefixLength]
                                                    : le16(page.data() + layout.prefixLength);
    const std::size_t minimum = kIndexRowPointerSize + (out.leaf ? 0 : kIndexChildPointerSize);
    std::size_t start = 0;
    for (std::size_t bit : indexEntryEnds(format, page)) {
        if (format.indexFirstEntryOffset + bit > page.size()) {
            fault = "index entries run past the end of the page";
            return out;
        }
        const std::uint8_t* stored = page.data() + format.indexFirstEntryOffset + start;
        std::vector<std::uint8_t> entry;
        if (!out.entries.empty())
            entry.assign(out.entries.front().begin(),
                         out.entries.front().begin() + static_cast<long>(out.prefixLength));
        entry.insert(entry.end(), stored, stored + (bit - start));
        if (entry.size() < minimum || (out.entries.empty() && entry.size() < out.prefixLength)) {
            fault = "index entry " + std::to_string(out.entries.size()) + " is too short";
            return out;
        }
        out.entries.push_back(std::move(entry));
        start = bit;
    }
    return out;
}

IndexPage readIndexPage(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber) {
    std::string fault;
    IndexPage out = readIndexPage(format, page, fault);
    if (!fault.empty())
        throwCorruptPage(pageNumber, fault);
    return out;
}

IndexEntryParts splitIndexEntry(ByteSpan entry, bool leaf) {
    const std::size_t keySize =
        entry.size() - kIndexRowPointerSize - (leaf ? 0 : kIndexChildPointerSize);
    IndexEntryParts out;
    out.key = entry.first(keySize);
    out.rowPage = be(entry.data() + keySize, 3);
    out.rowSlot = entry[keySize + 3];
    if (!leaf)
        out.childPage = childPageOf(entry);
    return out;
}

IndexPage readIndexPageOf(const PageStore& pages, const JetFormat& format, std::uint32_t number,
                          std::uint32_t tablePage) {
    const std::string table = "table page " + std::to_string(tablePage);
    if (number == 0 || !pages.contains(number))
        throwCorruptPage(number, "an index of " + table + " links to a missing page");
    const ByteSpan bytes = pages.page(number);
    if (!isIndexPageOf(bytes, tablePage))
        throwCorruptPage(number, "not an index page of " + table);
    return readIndexPage(format, bytes, number);
}

std::vector<LeafEntry> readIndexEntries(const PageStore& pages, const JetFormat& format,
                                        std::uint32_t root, std::uint32_t tablePage) {
    std::vector<LeafEntry> out;
    std::set<std::uint32_t> seen;
    auto load = [&](std::uint32_t number) {
        if (!seen.insert(number).second)
            throwCorruptPage(number, "the index pages of table page " + std::to_string(tablePage) +
                                         " loop");
        return readIndexPageOf(pages, format, number, tablePage);
    };
    IndexPage page = load(root);
    while (!page.leaf) {
        if (page.entries.empty())
            return out;
        page = load(childPageOf(page.entries.front()));
    }
    for (;;) {
        for (const auto& entry : page.entries) {
            const IndexEntryParts parts = splitIndexEntry(entry, true);
            out.push_back({{parts.key.begin(), parts.key.end()}, parts.rowPage, parts.rowSlot});
        }
        if (page.next == 0)
            return out;
        page = load(page.next);
    }
}

} // namespace jet::detail
