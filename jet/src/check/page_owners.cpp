#include "check/page_owners.h"

#include "check/corrupt_faults.h"
#include "file/errors.h"
#include "read/catalog.h"
#include "read/slot_table.h"
#include "read/usage_map.h"

namespace jet::detail {

namespace {

class OwnerReader {
public:
    OwnerReader(const DatabaseState& db, PageOwners& out) : pages_(db.pages), db_(db), out_(out) {}

    void readFreePages() {
        out_.listedFree.assign(pages_.pageCount(), false);
        for (std::uint32_t page :
             noteMap(kFreePageMapPointer, {"the database's free pages", 0}, true))
            out_.listedFree[page] = true;
    }

    void readTable(std::uint32_t firstPage, const std::string& name) {
        out_.tableNames.emplace(firstPage, name);
        const std::string table = named("table", name);
        noteCorrupt(out_.faults, table + ": ", [&] {
            for (std::uint32_t page : tableDefPages(pages_, firstPage, name))
                out_.tableOf.emplace(page, firstPage);
            const TableDef def =
                readTableDef(pages_, *db_.format, *db_.textDecoder, firstPage, name);
            noteMap(def.ownedPagesMap, {"the owned pages of " + table, firstPage});
            noteMap(def.freePagesMap, {"the pages with free space of " + table, firstPage});
            for (std::size_t i = 0; i < def.indexes.size(); ++i)
                noteMap(
                    def.realIndexes[def.logicalIndexes[i].physical].usageMap,
                    {"the index pages of " + named("index", def.indexes[i].name) + " of " + table,
                     firstPage});
            for (const LongValueMapRef& lv : def.longValueMaps) {
                const std::string column = columnName(def, lv.column) + " of " + table;
                for (std::uint32_t page :
                     noteMap(lv.ownedMap, {"the long-value pages of " + column, firstPage}, true))
                    out_.tableOf.emplace(page, firstPage);
                noteMap(lv.freeMap,
                        {"the long-value pages with free space of " + column, firstPage});
            }
        });
    }

private:
    static std::string columnName(const TableDef& def, std::uint16_t number) {
        const int position = positionOfColumnNumber(def, number);
        return position < 0 ? "column number " + std::to_string(number)
                            : named("column", def.columns[static_cast<std::size_t>(position)].name);
    }

    // Records the map's row and its map pages; with `readPages`, gives the pages it marks (none
    // when it cannot be read). Only the maps of free pages and of long-value pages are read whole:
    // the pages they mark do not name their table themselves.
    std::vector<std::uint32_t> noteMap(std::uint32_t pointer, const MapOwner& owner,
                                       bool readPages = false) {
        if (pointer == 0)
            return {};
        out_.mapRows.emplace(pointer, owner);
        std::vector<std::uint32_t> marked;
        noteCorrupt(out_.faults, owner.what + ": ", [&] {
            const ByteSpan record = rowAtPointer(pages_, *db_.format, pointer, owner.what);
            const UsageMapRecord map = parseUsageMap(record, owner.what);
            for (std::size_t i = 0; i < map.mapPages.size(); ++i) {
                if (map.mapPages[i] == 0)
                    continue;
                out_.mapPages.emplace(map.mapPages[i],
                                      MapPageOwner{owner, i * pagesPerMapPage(pages_.pageSize())});
                if (owner.tablePage != 0)
                    out_.tableOf.emplace(map.mapPages[i], owner.tablePage);
            }
            if (!readPages)
                return;
            // The bits of the inline map of free pages run past the end of the file by design.
            if (owner.tablePage == 0 && map.type == kInlineUsageMap) {
                for (std::uint64_t page : setUsageBits(map.bits, map.firstPage))
                    if (page < pages_.pageCount())
                        marked.push_back(static_cast<std::uint32_t>(page));
                return;
            }
            marked = readUsageMap(pages_, record, owner.what);
        });
        return marked;
    }

    const PageStore& pages_;
    const DatabaseState& db_;
    PageOwners& out_;
};

} // namespace

PageOwners readPageOwners(const DatabaseState& db) {
    PageOwners out;
    OwnerReader reader(db, out);
    reader.readFreePages();
    // The catalogue's own definition, whatever its rows say.
    reader.readTable(kCatalogPage, "MSysObjects");
    std::vector<CatalogEntry> catalog;
    noteCorrupt(out.faults, "the system catalogue: ", [&] {
        catalog = readCatalog(db.pages, *db.format, *db.textDecoder);
        out.catalogueRead = true;
    });
    for (const CatalogEntry& entry : catalog)
        if (entry.type == kObjectTable && entry.tableDefPage() != kCatalogPage &&
            !out.tableNames.count(entry.tableDefPage()))
            reader.readTable(entry.tableDefPage(), entry.name);
    return out;
}

} // namespace jet::detail
