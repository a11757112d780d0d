// Walks every table of the catalogue and the pages it claims:
//  - pages claimed by two owners, or claimed while the file's map calls them free;
//  - owned-page maps listing pages that are not data pages of their table, free-space maps
//    listing pages the table does not own, data pages of a table missing from its map when
//    the table lacks rows it says it stores (Access leaves stale copies of rewritten pages);
//  - slot tables out of bounds, free-space figures that disagree with the slots;
//  - stored row counts that disagree with the rows;
//  - long values whose chains loop, leave their pages or disagree with their length;
//  - index trees reaching pages that are not index pages of their table;
//  - index entries out of order, missing, doubled, naming no live row or with the wrong key;
//  - table definitions whose fields disagree with each other or with the rows;
//  - pages the file's structures reach (map rows included) that the map of free pages lists.
// The catalogue is checked as a table of its own whatever its rows say, so that losing the page
// holding its own row cannot hide it.
#include "check/integrity_check.h"

#include "check/index_entries.h"
#include "check/index_pages.h"
#include "check/table_def_check.h"
#include "file/errors.h"
#include "jet/check.h"
#include "read/catalog.h"
#include "read/index_pages_read.h"
#include "read/long_value.h"
#include "read/row.h"
#include "read/slot_table.h"
#include "read/state.h"
#include "read/table_scan.h"
#include "read/usage_map.h"

#include <algorithm>
#include <functional>
#include <set>

namespace jet {

using namespace detail;

namespace {

class Checker {
public:
    Checker(const DatabaseState& db, CheckScope scope)
        : pages_(db.pages), format_(*db.format), decoder_(*db.textDecoder),
          sortOrder_(db.header.sortOrder), indexes_(scope == CheckScope::WholeFile),
          owner_(db.pages.pageCount()), free_(db.pages.pageCount(), false) {}

    CheckReport run(std::uint64_t fileSize);

private:
    void fault(std::string what) { faults_.push_back(std::move(what)); }
    void claim(std::uint32_t page, const std::string& who);
    // A page that holds something of several owners (rows of usage maps) must not be free.
    void requireInUse(std::uint32_t page, const std::string& what);
    void readFreePages();
    void checkTable(const CatalogEntry& entry);
    void checkTableCatching(const CatalogEntry& entry) {
        try {
            checkTable(entry);
        } catch (const Error& e) {
            fault(named("table", entry.name) + ": " + e.what());
        }
    }
    void checkDataPage(std::uint32_t page, const std::string& table);
    // The rows of a table whose owned pages could be read: each against the definition, its
    // long values, the stored count and the index entries.
    void checkRows(const TableDef& def, const std::string& table);
    // `where` names the field; it is called only for a fault, as building it for every row of a
    // large table would cost more than the check itself.
    void checkLongValue(ByteSpan field, const std::function<std::string()>& where,
                        const std::string& owner);
    std::vector<std::uint32_t> mapPages(std::uint32_t pointer, const std::string& what);
    // The usage map of an index's pages against the pages its tree reaches.
    void checkIndexMap(const TableDef& def, std::uint32_t map,
                       const std::vector<std::uint32_t>& tree, const std::string& index);

    const PageStore& pages_;
    const JetFormat& format_;
    const CodePageDecoder& decoder_;
    const std::uint32_t sortOrder_; // the file's, from its header
    const bool indexes_;            // their trees, maps and entries
    std::vector<std::string> owner_;
    std::vector<bool> free_;
    // The definition pages of the tables whose owned pages gave every row they say they store.
    std::set<std::uint32_t> wholeTables_;
    std::vector<std::string> faults_;
    std::vector<KeyDifference> keyDifferences_;
};

std::string pageName(std::uint32_t page) {
    return "page " + std::to_string(page);
}

void Checker::claim(std::uint32_t page, const std::string& who) {
    if (page >= owner_.size()) {
        fault(pageName(page) + ": claimed by " + who + " but past the end of the file");
        return;
    }
    if (free_[page])
        fault(pageName(page) + ": claimed by " + who + " but marked free");
    if (owner_[page].empty())
        owner_[page] = who;
    else if (owner_[page] != who)
        fault(pageName(page) + ": claimed by both " + owner_[page] + " and " + who);
}

void Checker::requireInUse(std::uint32_t page, const std::string& what) {
    if (page < free_.size() && free_[page])
        fault(pageName(page) + ": holds " + what + " but is marked free");
}

void Checker::readFreePages() {
    ByteSpan record;
    try {
        record = rowAtPointer(pages_, format_, kFreePageMapPointer, "the map of free pages");
    } catch (const Error& e) {
        fault(std::string("page 1: ") + e.what());
        return;
    }
    if (!record.empty() && record[0] == kReferenceUsageMap) {
        try {
            for (std::uint32_t page : mapPages(kFreePageMapPointer, "the map of free pages"))
                free_[page] = true;
        } catch (const Error& e) {
            fault(std::string("page 1: ") + e.what());
        }
        return;
    }
    // An inline map's bits beyond the file's end are free by definition.
    if (record.size() < kInlineMapHeaderSize || record[0] != kInlineUsageMap)
        return;
    const std::uint32_t start = le32(record.data() + 1);
    const ByteSpan bits = record.subspan(kInlineMapHeaderSize);
    for (std::size_t i = 0; i < bits.size() * 8; ++i) {
        const std::uint64_t page = std::uint64_t{start} + i;
        if (page < free_.size() && usageBit(bits, i))
            free_[page] = true;
    }
}

void Checker::checkIndexMap(const TableDef& def, std::uint32_t map,
                            const std::vector<std::uint32_t>& tree, const std::string& index) {
    const std::string what = "the pages of " + index;
    std::vector<std::uint32_t> listed;
    try {
        listed = mapPages(map, what);
    } catch (const Error& e) {
        fault(what + ": " + e.what());
        return;
    }
    for (std::uint32_t page : listed)
        if (!isIndexPageOf(pages_.page(page), def.page))
            fault(pageName(page) + ": listed among " + what + " but not one of its index pages");
    for (std::uint32_t page : tree)
        if (!std::binary_search(listed.begin(), listed.end(), page))
            fault(pageName(page) + ": in the tree of " + index + " but left out of its usage map");
}

std::vector<std::uint32_t> Checker::mapPages(std::uint32_t pointer, const std::string& what) {
    if (pointer == 0)
        return {}; // a table that never held a page may have no map at all
    ByteSpan record = rowAtPointer(pages_, format_, pointer, what);
    requireInUse(rowPointerPage(pointer), "the usage map of " + what);
    if (!record.empty() && record[0] == kReferenceUsageMap)
        for (std::size_t i = 0; 1 + 4 * (i + 1) <= record.size(); ++i)
            if (std::uint32_t mapPage = le32(record.data() + 1 + 4 * i))
                claim(mapPage, what);
    return readUsageMap(pages_, record, what);
}

void Checker::checkDataPage(std::uint32_t page, const std::string& table) {
    ByteSpan bytes = pages_.page(page);
    std::uint16_t slots = slotCount(format_, bytes, page);
    const std::size_t slotsEnd = format_.dataFirstSlotOffset() + 2 * std::size_t{slots};
    std::size_t lowest = bytes.size();
    for (std::uint16_t i = 0; i < slots; ++i) {
        std::uint16_t slot = le16(bytes.data() + format_.dataFirstSlotOffset() + 2 * i);
        std::size_t start = slot & kRowOffsetMask;
        // A deleted row may be empty and start at the very end of the page.
        bool deleted = (slot & (kRowIsMoveTarget | kRowMoved)) == (kRowIsMoveTarget | kRowMoved);
        if (start < slotsEnd || start > bytes.size() || (start == bytes.size() && !deleted)) {
            fault(pageName(page) + ": row " + std::to_string(i) + " of " + table +
                  " starts outside the page");
            return;
        }
        lowest = std::min(lowest, start);
    }
    std::size_t expected = lowest - slotsEnd;
    std::size_t stored = le16(bytes.data() + kPageFreeSpaceOffset);
    if (stored != expected)
        fault(pageName(page) + ": free space of " + table + " is recorded as " +
              std::to_string(stored) + " bytes but is " + std::to_string(expected));
}

void Checker::checkLongValue(ByteSpan field, const std::function<std::string()>& where,
                             const std::string& owner) {
    if (field.size() < kLongValueHeaderSize)
        return;
    auto [length, kind, pointer] = parseLongValueHeader(field);
    if (kind & kLongValueInline)
        return;
    std::uint64_t total = 0;
    std::set<std::uint32_t> seen;
    for (int hops = 0;; ++hops) {
        std::uint32_t page = rowPointerPage(pointer);
        if (page == 0 || page >= pages_.pageCount() || !seen.insert(pointer).second) {
            fault(where() + ": its long value chain leaves the file or loops at " + pageName(page));
            return;
        }
        ByteSpan bytes = pages_.page(page);
        if (!isLongValuePage(bytes)) {
            fault(where() + ": its long value points to " + pageName(page) +
                  ", which is not a long-value page");
            return;
        }
        claim(page, owner);
        std::uint16_t row = static_cast<std::uint16_t>(rowPointerRow(pointer));
        if (row >= slotCount(format_, bytes, page)) {
            fault(where() + ": its long value points to a missing row of " + pageName(page));
            return;
        }
        ByteSpan data = rowSlot(format_, bytes, page, row).bytes;
        if (kind & kLongValueSingleRow) {
            total = data.size();
            break;
        }
        if (data.size() < 4) {
            fault(where() + ": a link of its long value on " + pageName(page) + " is too short");
            return;
        }
        total += data.size() - 4;
        pointer = le32(data.data());
        if (pointer == 0)
            break;
    }
    if (total != length)
        fault(where() + ": its long value says " + std::to_string(length) + " bytes but holds " +
              std::to_string(total));
}

void Checker::checkTable(const CatalogEntry& entry) {
    const std::string table = named("table", entry.name);
    TableDef def;
    try {
        def = readTableDef(pages_, format_, decoder_, entry.tableDefPage(), entry.name);
    } catch (const Error& e) {
        fault(table + ": " + e.what());
        return;
    }
    // Each part of the table that can be read without another goes on past the faults of the
    // others.
    const auto noting = [&](const auto& work) {
        try {
            work();
            return true;
        } catch (const Error& e) {
            fault(table + ": " + e.what());
            return false;
        }
    };
    const auto sink = [this](std::string f) { fault(std::move(f)); };
    checkTableDefFields(format_, def, indexes_, table, sink);
    noting([&] {
        for (std::uint32_t page = def.page, hops = 0; page != 0 && hops < pages_.pageCount();
             ++hops) {
            claim(page, table);
            page = le32(pages_.page(page).data() + kTableDefNextPageOffset);
        }
    });

    std::vector<std::uint32_t> owned;
    const bool ownedRead = noting([&] {
        owned = mapPages(def.ownedPagesMap, table);
        for (std::uint32_t page : owned) {
            if (!isDataPageOf(pages_.page(page), def.page)) {
                fault(pageName(page) + ": in the owned pages of " + table +
                      " but not one of its data pages");
                continue;
            }
            claim(page, table);
            checkDataPage(page, table);
        }
    });
    noting([&] {
        for (std::uint32_t page : mapPages(def.freePagesMap, table))
            if (!std::binary_search(owned.begin(), owned.end(), page))
                fault(pageName(page) + ": in the free-space map of " + table +
                      " but not among its pages");
    });
    for (const auto& lv : def.longValueMaps) {
        noting([&] {
            const std::string owner = "the long values of " + table;
            const std::vector<std::uint32_t> lvPages = mapPages(lv.ownedMap, owner);
            for (std::uint32_t page : lvPages) {
                ByteSpan bytes = pages_.page(page);
                if (!isLongValuePage(bytes))
                    fault(pageName(page) + ": listed for " + owner + " but not a long-value page");
                claim(page, table);
            }
            for (std::uint32_t page : mapPages(lv.freeMap, owner))
                if (!std::binary_search(lvPages.begin(), lvPages.end(), page))
                    fault(pageName(page) + ": in the free-space map of " + owner +
                          " but not among its pages");
        });
    }
    std::set<std::uint32_t> roots;
    for (std::size_t i = 0; indexes_ && i < def.indexes.size(); ++i) {
        const Index& index = def.indexes[i];
        if (!roots.insert(index.firstPage).second)
            continue; // logical indexes may share one tree
        const std::string name = named("index", index.name) + " of " + table;
        noting([&] {
            const std::vector<std::uint32_t> tree =
                indexTreePages(pages_, format_, index.firstPage, def.page, name, sink);
            for (std::uint32_t page : tree)
                claim(page, table);
            checkIndexMap(def, def.realIndexes[def.logicalIndexes[i].physical].usageMap, tree,
                          name);
        });
    }
    if (ownedRead)
        noting([&] { checkRows(def, table); });
}

void Checker::checkRows(const TableDef& def, const std::string& table) {
    const auto sink = [this](std::string f) { fault(std::move(f)); };
    TableScan scan(pages_, format_, def);
    RowFrame scratch;
    std::vector<FieldRef> fields;
    std::uint64_t rows = 0;
    RowLayoutCheck layout(def, table, sink);
    bool unreadableRow = false;
    while (scan.next()) {
        ++rows;
        try {
            crackRow(format_, def, scan.row(), scan.rowPage(), scratch, fields);
            layout.row(scratch, fields, scan.rowPage());
            for (std::size_t c = 0; c < def.columns.size(); ++c)
                if (isLongValue(def.columns[c].type) && fields[c].present)
                    checkLongValue(
                        fields[c].bytes,
                        [&] {
                            return table + " " + named("column", def.columns[c].name) + " on " +
                                   pageName(scan.rowPage());
                        },
                        table);
        } catch (const Error& e) {
            // One unreadable row is enough to tell; the walk goes on to count the rest.
            if (!unreadableRow)
                fault(e.what());
            unreadableRow = true;
        }
    }
    // Access keeps the counts of its own system tables only roughly; user tables must agree.
    if (rows == def.storedRowCount)
        wholeTables_.insert(def.page);
    if (def.tableType != kSystemTableType && rows != def.storedRowCount)
        fault(table + ": stores a row count of " + std::to_string(def.storedRowCount) +
              " but holds " + std::to_string(rows) + " rows");
    if (def.tableType != kSystemTableType && indexes_)
        checkIndexEntries(pages_, format_, decoder_, sortOrder_, def, rows, table, sink,
                          [this](KeyDifference d) { keyDifferences_.push_back(std::move(d)); });
}

CheckReport Checker::run(std::uint64_t fileSize) {
    if (fileSize % pages_.pageSize() != 0)
        fault("the file's size (" + std::to_string(fileSize) +
              " bytes) is not a whole number of pages");
    readFreePages();
    claim(0, "the header");
    claim(1, "the map of free pages");
    CatalogEntry catalogue;
    catalogue.name = "MSysObjects";
    catalogue.id = static_cast<std::int32_t>(kCatalogPage);
    catalogue.type = kObjectTable;
    checkTableCatching(catalogue);
    std::vector<CatalogEntry> catalog;
    try {
        catalog = readCatalog(pages_, format_, decoder_);
    } catch (const Error& e) {
        fault(std::string("the system catalogue: ") + e.what());
    }
    for (const auto& entry : catalog) {
        if (entry.type == kObjectTable && entry.tableDefPage() != kCatalogPage)
            checkTableCatching(entry);
    }
    // A data page naming a table it is not listed by, where that table lacks rows: its page
    // may have been lost from the map. Access leaves the old copy of a page it rewrote elsewhere
    // neither owned nor free; the table then has every row it counts.
    for (std::uint32_t page = 2; page < pages_.pageCount(); ++page) {
        ByteSpan bytes = pages_.page(page);
        if (bytes[0] == static_cast<std::uint8_t>(PageType::Data) && owner_[page].empty() &&
            !free_[page] && !isLongValuePage(bytes) && le32(bytes.data() + kPageOwnerOffset) > 1 &&
            !wholeTables_.count(le32(bytes.data() + kPageOwnerOffset)))
            for (const auto& entry : catalog)
                if (entry.type == kObjectTable &&
                    entry.tableDefPage() == le32(bytes.data() + kPageOwnerOffset))
                    fault(pageName(page) + ": a data page of " + named("table", entry.name) +
                          " that its map of owned pages leaves out");
    }
    CheckReport report{std::move(faults_), std::move(keyDifferences_),
                       std::vector<bool>(owner_.size())};
    for (std::size_t page = 0; page < owner_.size(); ++page)
        report.inUse[page] = !owner_[page].empty();
    return report;
}

} // namespace

namespace detail {

CheckReport checkLoadedDatabase(const DatabaseState& db, CheckScope scope) {
    try {
        return Checker(db, scope).run(db.pages.fileSize());
    } catch (const Error& e) {
        return {{e.what()}, {}, std::vector<bool>(db.pages.pageCount())};
    }
}

} // namespace detail

CheckFindings checkDatabaseFindings(const std::filesystem::path& path, std::string_view password,
                                    CheckScope scope) {
    const Database db = Database::open(path, password);
    CheckReport report = checkLoadedDatabase(*DatabaseAccess::state(db), scope);
    CheckFindings findings{std::move(report.faults), {}};
    for (KeyDifference& d : report.keyDifferences)
        findings.keyDifferences.push_back(std::move(d.what));
    return findings;
}

std::vector<std::string> checkDatabase(const std::filesystem::path& path, std::string_view password,
                                       CheckScope scope) {
    return checkDatabaseFindings(path, password, scope).faults;
}

} // namespace jet
