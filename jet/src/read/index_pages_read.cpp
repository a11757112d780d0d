#include "read/index_pages_read.h"

#include "file/errors.h"

#include <set>

namespace jet::detail {
namespace {

constexpr std::uint16_t kGeneralSortCode = 1033;
constexpr std::size_t kColumnSortCode = 11;    // Jet 4 column entries
constexpr std::size_t kColumnSortVersion = 14; // Jet 4 column entries

} // namespace

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
    for (std::size_t bit = 0; bit < format.indexEntryMaskBits(); ++bit)
        if ((page[format.indexEntryMaskOffset + bit / 8] >> (bit % 8)) & 1)
            ends.push_back(bit);
    return ends;
}

std::uint32_t childPageOf(ByteSpan entry) {
    return be(entry.data() + entry.size() - kIndexChildPointerSize, kIndexChildPointerSize);
}

IndexPage readIndexPage(const JetFormat& format, ByteSpan page, std::uint32_t pageNumber) {
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
        if (format.indexFirstEntryOffset + bit > page.size())
            throwCorruptPage(pageNumber, "index entries run past the end of the page");
        const std::uint8_t* stored = page.data() + format.indexFirstEntryOffset + start;
        std::vector<std::uint8_t> entry;
        if (!out.entries.empty())
            entry.assign(out.entries.front().begin(),
                         out.entries.front().begin() + static_cast<long>(out.prefixLength));
        entry.insert(entry.end(), stored, stored + (bit - start));
        if (entry.size() < minimum || (out.entries.empty() && entry.size() < out.prefixLength))
            throwCorruptPage(pageNumber, "an index entry is too short");
        out.entries.push_back(std::move(entry));
        start = bit;
    }
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
            const std::size_t keySize = entry.size() - kIndexRowPointerSize;
            out.push_back({{entry.begin(), entry.begin() + static_cast<long>(keySize)},
                           be(entry.data() + keySize, 3),
                           entry[keySize + 3]});
        }
        if (page.next == 0)
            return out;
        page = load(page.next);
    }
}

std::optional<TextSortOrder> ColumnSortOrder::supported() const {
    if (code != kGeneralSortCode && code != 0)
        return std::nullopt;
    if (code == 0 || version == 0)
        return TextSortOrder::GeneralLegacy;
    if (version == 1)
        return TextSortOrder::General;
    return std::nullopt;
}

std::string ColumnSortOrder::name() const {
    if (code == kGeneralSortCode)
        return version == 0 ? "\"General\" (legacy)"
                            : "\"General\" (version " + std::to_string(version) + ")";
    return "with locale " + std::to_string(code) + " (version " + std::to_string(version) + ")";
}

std::vector<ColumnSortOrder> readColumnSortOrders(const PageStore& pages, const JetFormat& format,
                                                  const TableDef& def) {
    std::vector<ColumnSortOrder> out(def.columns.size());
    if (format.version == Version::Jet3)
        return out;
    const std::vector<std::uint8_t> bytes = readTableDefBytes(pages, def.page, def.name);
    const std::size_t first =
        format.tdefRealIndexStart + std::size_t{def.realIndexCount} * format.tdefRealIndexEntrySize;
    for (std::size_t i = 0; i < out.size(); ++i) {
        const std::size_t at = first + i * format.columnEntrySize;
        if (at + format.columnEntrySize > bytes.size())
            break;
        const ColumnType type = def.columns[i].type;
        if (type != ColumnType::Text && type != ColumnType::Memo)
            continue;
        out[i].code = le16(bytes.data() + at + kColumnSortCode);
        out[i].version = bytes[at + kColumnSortVersion];
    }
    return out;
}

std::vector<std::uint8_t> readIndexFlags(const PageStore& pages, const JetFormat& format,
                                         const TableDef& def) {
    const std::vector<std::uint8_t> bytes = readTableDefBytes(pages, def.page, def.name);
    auto fail = [&] {
        throwCorrupt("the index list of " + named("table", def.name) + " is cut short");
    };
    std::size_t at = format.tdefRealIndexStart +
                     std::size_t{def.realIndexCount} * format.tdefRealIndexEntrySize +
                     def.columns.size() * format.columnEntrySize;
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        if (at + format.nameLengthSize > bytes.size())
            fail();
        at += format.nameLengthSize +
              (format.nameLengthSize == 1 ? bytes[at] : le16(bytes.data() + at));
    }
    const std::size_t reals = at;
    const std::size_t logicals = reals + std::size_t{def.realIndexCount} * format.realIndexSize;
    const std::size_t flagsAt = format.realIndexLead + kIndexColumnSlots * 3 + 8 +
                                (format.version == Version::Jet4 ? 4 : 0);
    std::vector<std::uint8_t> out;
    for (std::size_t i = 0; i < def.indexes.size(); ++i) {
        const std::size_t logical = logicals + i * format.logicalIndexSize;
        if (logical + format.logicalIndexSize > bytes.size())
            fail();
        const std::uint32_t real = le32(bytes.data() + logical + format.logicalIndexLead + 4);
        const std::size_t flag = reals + real * format.realIndexSize + flagsAt;
        if (real >= def.realIndexCount || flag >= bytes.size())
            fail();
        out.push_back(bytes[flag]);
    }
    return out;
}

} // namespace jet::detail
