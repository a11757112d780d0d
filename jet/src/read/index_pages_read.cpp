#include "read/index_pages_read.h"

#include "file/errors.h"

#include <set>

namespace jet::detail {
namespace {

constexpr std::size_t kRowPointerSize = 4;
constexpr std::size_t kChildPointerSize = 4;
constexpr std::uint16_t kGeneralSortCode = 1033;
constexpr std::size_t kColumnSortCode = 11;    // Jet 4 column entries
constexpr std::size_t kColumnSortVersion = 14; // Jet 4 column entries

std::uint32_t be(const std::uint8_t* p, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i)
        v = v << 8 | p[i];
    return v;
}

} // namespace

const IndexPageLayout& IndexPageLayout::of(const JetFormat& format) {
    static const IndexPageLayout jet3{8, 12, 16, 20, 1};
    static const IndexPageLayout jet4{12, 16, 20, 24, 2};
    return format.version == Version::Jet3 ? jet3 : jet4;
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
    const std::size_t minimum = kRowPointerSize + (out.leaf ? 0 : kChildPointerSize);
    const std::size_t maskBits = (format.indexFirstEntryOffset - format.indexEntryMaskOffset) * 8;
    std::size_t start = 0;
    for (std::size_t bit = 0; bit < maskBits; ++bit) {
        const std::uint8_t maskByte = page[format.indexEntryMaskOffset + bit / 8];
        if (maskByte == 0) { // most of a mask is empty: a byte at a time
            bit |= 7;
            continue;
        }
        if (!((maskByte >> (bit % 8)) & 1))
            continue;
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
    const std::size_t keySize = entry.size() - kRowPointerSize - (leaf ? 0 : kChildPointerSize);
    IndexEntryParts out;
    out.key = entry.first(keySize);
    out.rowPage = be(entry.data() + keySize, 3);
    out.rowSlot = entry[keySize + 3];
    if (!leaf)
        out.childPage = be(entry.data() + keySize + kRowPointerSize, kChildPointerSize);
    return out;
}

std::vector<LeafEntry> readIndexEntries(const PageStore& pages, const JetFormat& format,
                                        std::uint32_t root, std::uint32_t tablePage) {
    std::vector<LeafEntry> out;
    std::set<std::uint32_t> seen;
    auto load = [&](std::uint32_t number) {
        if (number == 0 || number >= pages.pageCount() || !seen.insert(number).second)
            throwCorruptPage(number, "index pages of table page " + std::to_string(tablePage) +
                                         " link to a missing page or loop");
        ByteSpan bytes = pages.page(number);
        const auto type = static_cast<PageType>(bytes[0]);
        if ((type != PageType::IndexNode && type != PageType::IndexLeaf) ||
            le32(bytes.data() + kPageOwnerOffset) != tablePage)
            throwCorruptPage(number,
                             "not an index page of table page " + std::to_string(tablePage));
        return readIndexPage(format, bytes, number);
    };
    IndexPage page = load(root);
    while (!page.leaf) {
        if (page.entries.empty())
            return out;
        page = load(splitIndexEntry(page.entries.front(), false).childPage);
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
    auto fail = [&] { throwCorrupt("the index list of table \"" + def.name + "\" is cut short"); };
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
