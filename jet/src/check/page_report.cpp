// Each page described through the readers the rest of the engine uses: the slot table, index
// pages, usage maps, table definitions. A reader's Corrupt error becomes a fault of the page (or
// of the slot), so the description goes on with what can still be read.
#include "jet/page_report.h"

#include "check/corrupt_faults.h"
#include "check/page_owners.h"
#include "file/errors.h"
#include "read/index_pages_read.h"
#include "read/slot_table.h"
#include "read/state.h"
#include "read/usage_map.h"

namespace jet {

using namespace detail;

struct PageReporter::State {
    std::shared_ptr<DatabaseState> db;
    PageOwners owners;
};

namespace {

class PageDescriber {
public:
    PageDescriber(const DatabaseState& db, const PageOwners& owners, PageReport& out)
        : db_(db), format_(*db.format), owners_(owners), out_(out),
          page_(db.pages.page(out.number)) {}

    void describe() {
        out_.typeByte = page_[0];
        if (out_.number == 0) {
            describeHeader();
            return;
        }
        out_.listedFree = owners_.listedFree[out_.number];
        switch (static_cast<PageType>(page_[0])) {
        case PageType::Data:
            describeRows();
            break;
        case PageType::TableDefinition:
            describeTableDefinition();
            break;
        case PageType::IndexNode:
        case PageType::IndexLeaf:
            describeIndexPage();
            break;
        case PageType::UsageMap:
            describeMapPage();
            break;
        default:
            break;
        }
        if (auto name = owners_.tableNames.find(out_.ownerPage); name != owners_.tableNames.end())
            out_.owner = name->second;
    }

private:
    std::uint32_t tableOf(std::uint32_t page) const {
        const auto found = owners_.tableOf.find(page);
        return found == owners_.tableOf.end() ? 0 : found->second;
    }

    void describeHeader() {
        const Header& header = db_.header;
        out_.kind = PageKind::Header;
        out_.header = HeaderReport{header.version, header.codePage, header.sortOrder,
                                   header.encodingKey, db_.hasPassword};
    }

    void describeRows() {
        const bool longValues = isLongValuePage(page_);
        out_.kind = longValues ? PageKind::LongValue : PageKind::Data;
        out_.ownerPage = longValues ? tableOf(out_.number) : le32(page_.data() + kPageOwnerOffset);
        out_.freeBytes = le16(page_.data() + kPageFreeSpaceOffset);
        noteCorrupt(out_.faults, "",
                    [&] { out_.rowCount = slotCount(format_, page_, out_.number); });
        for (std::uint16_t slot = 0; slot < out_.rowCount; ++slot)
            out_.rows.push_back(describeSlot(slot));
    }

    RowSlotReport describeSlot(std::uint16_t slot) const {
        RowSlotReport row;
        row.slot = slot;
        const std::uint16_t entry = slotEntry(format_, page_, slot);
        row.offset = entry & kRowOffsetMask;
        row.deleted = (entry & (kRowIsMoveTarget | kRowMoved)) == (kRowIsMoveTarget | kRowMoved);
        row.moved = !row.deleted && (entry & kRowMoved);
        row.overflow = !row.deleted && (entry & kRowIsMoveTarget);
        std::vector<std::string> faults;
        noteCorrupt(faults, "", [&] {
            const ByteSpan bytes = rowSlot(format_, page_, out_.number, slot).bytes;
            row.length = static_cast<std::uint16_t>(bytes.size());
            if (row.moved) {
                if (bytes.size() < 4)
                    throwCorruptPage(out_.number, "moved row " + std::to_string(slot) +
                                                      " is too short for its pointer");
                row.movedTo = le32(bytes.data());
            }
            const std::uint32_t pointer = out_.number << 8 | slot;
            if (auto map = owners_.mapRows.find(pointer); map != owners_.mapRows.end()) {
                row.usageMap.emplace().what = map->second.what;
                const UsageMapRecord record = parseUsageMap(bytes, map->second.what);
                row.usageMap->type = record.type;
                row.usageMap->mapPages = record.mapPages;
                if (record.type == kInlineUsageMap)
                    describeBits(record.firstPage, record.bits, *row.usageMap);
            }
        });
        if (!faults.empty())
            row.fault = faults.front();
        return row;
    }

    static void describeBits(std::optional<std::uint32_t> firstPage, ByteSpan bits,
                             UsageMapReport& out) {
        out.firstPage = firstPage;
        out.pages = setUsageBits(bits, firstPage.value_or(0));
    }

    void describeTableDefinition() {
        out_.kind = PageKind::TableDefinition;
        // Jet 3 keeps the letters "VC" where Jet 4 keeps the free bytes.
        if (format_.version != Version::Jet3)
            out_.freeBytes = le16(page_.data() + kPageFreeSpaceOffset);
        TableDefinitionReport& report = out_.tableDefinition.emplace();
        report.nextPage = le32(page_.data() + kTableDefNextPageOffset);
        const std::uint32_t table = tableOf(out_.number);
        out_.ownerPage = table;
        // Access leaves definitions of tables long gone on pages it does not list as free: only
        // the first page of a table the catalogue lists is decoded, or any page when the
        // catalogue cannot tell.
        if (table != out_.number && (table != 0 || owners_.catalogueRead))
            return;
        out_.ownerPage = out_.number;
        const auto name = owners_.tableNames.find(out_.number);
        const std::string tableName = name != owners_.tableNames.end()
                                          ? name->second
                                          : "at page " + std::to_string(out_.number);
        noteCorrupt(out_.faults, "", [&] {
            const TableDef def =
                readTableDef(db_.pages, format_, *db_.textDecoder, out_.number, tableName);
            report.startsTable = true;
            report.storedRowCount = def.storedRowCount;
            report.tableType = def.tableType;
            report.columns = def.columns;
            report.indexes = def.indexes;
            report.ownedPagesMap = def.ownedPagesMap;
            report.freePagesMap = def.freePagesMap;
            for (const LongValueMapRef& lv : def.longValueMaps) {
                const int position = positionOfColumnNumber(def, lv.column);
                report.longValueMaps.push_back(
                    {position < 0 ? "number " + std::to_string(lv.column)
                                  : def.columns[static_cast<std::size_t>(position)].name,
                     lv.ownedMap, lv.freeMap});
            }
        });
    }

    void describeIndexPage() {
        out_.kind = page_[0] == static_cast<std::uint8_t>(PageType::IndexLeaf)
                        ? PageKind::IndexLeaf
                        : PageKind::IndexNode;
        out_.ownerPage = le32(page_.data() + kPageOwnerOffset);
        out_.freeBytes = le16(page_.data() + kPageFreeSpaceOffset);
        std::string fault;
        const IndexPage page = readIndexPage(format_, page_, fault);
        noteCorrupt(out_.faults, "", [&] {
            if (!fault.empty())
                throwCorruptPage(out_.number, fault); // worded as the readers word theirs
        });
        IndexPageReport& report = out_.index.emplace();
        report.previousPage = page.previous;
        report.nextPage = page.next;
        report.tailPage = page.tail;
        report.prefixLength = page.prefixLength;
        for (const auto& entry : page.entries) {
            const IndexEntryParts parts = splitIndexEntry(entry, page.leaf);
            IndexEntryReport& e = report.entries.emplace_back();
            e.key.assign(parts.key.begin(), parts.key.end());
            e.rowPage = parts.rowPage;
            e.row = parts.rowSlot;
            if (!page.leaf)
                e.childPage = parts.childPage;
        }
    }

    void describeMapPage() {
        out_.kind = PageKind::UsageMap;
        out_.ownerPage = tableOf(out_.number);
        UsageMapReport& report = out_.usageMap.emplace();
        report.type = kReferenceUsageMap;
        std::optional<std::uint32_t> firstPage;
        if (auto map = owners_.mapPages.find(out_.number); map != owners_.mapPages.end()) {
            report.what = map->second.map.what;
            firstPage = static_cast<std::uint32_t>(map->second.firstPage);
        }
        describeBits(firstPage, page_.subspan(kMapPageHeaderSize), report);
    }

    const DatabaseState& db_;
    const JetFormat& format_;
    const PageOwners& owners_;
    PageReport& out_;
    ByteSpan page_;
};

} // namespace

const char* pageKindName(PageKind kind) {
    switch (kind) {
    case PageKind::Header:
        return "header";
    case PageKind::Data:
        return "data";
    case PageKind::LongValue:
        return "long value";
    case PageKind::TableDefinition:
        return "table definition";
    case PageKind::IndexNode:
        return "index node";
    case PageKind::IndexLeaf:
        return "index leaf";
    case PageKind::UsageMap:
        return "usage map";
    case PageKind::Unknown:
        break;
    }
    return "unknown";
}

PageReporter::PageReporter(std::shared_ptr<const State> state) : state_(std::move(state)) {}

PageReporter PageReporter::open(const std::filesystem::path& path, std::string_view password,
                                const OpenOptions& options) {
    auto state = std::make_shared<State>();
    state->db = openDatabaseFile(path, password, options);
    state->owners = readPageOwners(*state->db);
    return PageReporter(std::move(state));
}

std::uint32_t PageReporter::pageSize() const {
    return state_->db->pages.pageSize();
}

std::uint32_t PageReporter::pageCount() const {
    return state_->db->pages.pageCount();
}

const std::vector<std::string>& PageReporter::catalogueFaults() const {
    return state_->owners.faults;
}

PageReport PageReporter::report(std::uint32_t page) const {
    const DatabaseState& db = *state_->db;
    if (page >= db.pages.pageCount())
        throw Error(ErrorKind::Invalid, db.path.string() + " has no page " + std::to_string(page) +
                                            ": its pages are 0 to " +
                                            std::to_string(db.pages.pageCount() - 1));
    PageReport out;
    out.number = page;
    PageDescriber(db, state_->owners, out).describe();
    return out;
}

} // namespace jet
