// Lays out a new Jet 4 or Access 2010 database page by page:
//   0 header, 1 map of free pages, 2.. table definitions (MSysObjects first; an Access 2010
//   file's own system tables follow Jet's), then the pages of usage maps, one index leaf page
//   per index (the system tables' and those declared for the user tables, which start empty),
//   and the data pages of the catalogue.
#include "jet/create.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "file/format.h"
#include "jet/atomic_file.h"
#include "keys/column_key.h"
#include "read/names.h"
#include "read/table_def.h"
#include "text/utf8.h"
#include "write/data_page.h"
#include "write/header_encoder.h"
#include "write/index_page_writer.h"
#include "write/row_encoder.h"
#include "write/system_catalog.h"
#include "write/tdef_encoder.h"
#include "write/usage_map_encoder.h"

#include <algorithm>
#include <chrono>
#include <string>

namespace jet {
namespace {

using namespace detail;

using Page = std::vector<std::uint8_t>;

struct RowLocation {
    std::uint32_t page = 0;
    std::uint8_t row = 0;
};

// Jet's four system tables come first in every new file.
constexpr std::size_t kJetSystemTables = 4;

struct TableUnderConstruction {
    TableDefinition definition;
    TableLayout layout;
    std::uint32_t definitionPage = 0;
    std::vector<std::uint32_t> physical;  // of each index: the first index of the same shape
    std::vector<std::uint32_t> leafPages; // one per physical index
    std::vector<std::vector<Value>> rows;
    std::vector<RowLocation> locations;
    std::vector<std::uint32_t> dataPages;
};

double currentTimeInDays() {
    using namespace std::chrono;
    double seconds = duration<double>(system_clock::now().time_since_epoch()).count();
    // Day 0 of Jet's calendar is 1899-12-30, 25569 days before the Unix epoch.
    return 25569.0 + seconds / 86400.0;
}

// The entry of row `rowIndex` in the index `idx`. Text columns declare the table's "General"
// order (see tdef_encoder).
IndexEntryBytes indexEntry(const TableUnderConstruction& t, const IndexDefinition& idx,
                           std::size_t rowIndex) {
    const TextSortOrder order =
        t.layout.sortVersion == 0 ? TextSortOrder::GeneralLegacy : TextSortOrder::General;
    std::vector<const Value*> values;
    std::vector<KeyColumn> columns;
    for (std::uint16_t column : idx.columns) {
        values.push_back(&t.rows[rowIndex][column]);
        columns.push_back({t.layout.columns[column].type, !idx.descending, order, {}});
    }
    return leafEntry(entryKey(values, columns), t.locations[rowIndex].page,
                     t.locations[rowIndex].row);
}

// Table names are plain (letters, digits, spaces and underscores), none starts with "MSys" as
// the system tables' do, and no two are alike ignoring case.
void checkUserTables(const std::vector<TableSpec>& tables) {
    for (const auto& t : tables) {
        for (char c : t.name)
            if (!std::isalnum(static_cast<unsigned char>(c)) && c != '_' && c != ' ')
                throw Error(ErrorKind::Invalid, named("table name", t.name) +
                                                    " may hold only letters, digits, spaces "
                                                    "and underscores");
        if (text::utf8::toLower(t.name).rfind("msys", 0) == 0)
            throw Error(ErrorKind::Invalid, named("table name", t.name) + " is reserved");
    }
    for (std::size_t i = 0; i < tables.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            if (equalsIgnoringCase(tables[i].name, tables[j].name))
                throw Error(ErrorKind::Invalid, named("two tables are named", tables[i].name));
}

// Access's own limit on the indexes of one table.
constexpr std::size_t kMostIndexesPerTable = 32;

std::string defaultIndexName(const IndexSpec& declared) {
    if (declared.primaryKey)
        return "PrimaryKey";
    std::string name;
    for (const std::string& column : declared.columns)
        name += (name.empty() ? "" : "_") + column;
    return name;
}

// The indexes of a user table with their columns resolved to column numbers. ErrorKind Invalid
// for a missing or repeated column, a column of a type no index holds, a second primary key or
// two indexes of the same name.
std::vector<IndexDefinition> userIndexes(const TableSpec& table) {
    const std::string where = named("table", table.name) + ": ";
    if (table.indexes.size() > kMostIndexesPerTable)
        throw Error(ErrorKind::Invalid, where + "a table holds at most " +
                                            std::to_string(kMostIndexesPerTable) + " indexes");
    std::vector<IndexDefinition> out;
    for (const IndexSpec& declared : table.indexes) {
        IndexDefinition def;
        def.name = declared.name.empty() || declared.primaryKey ? defaultIndexName(declared)
                                                                : declared.name;
        def.primaryKey = declared.primaryKey;
        def.descending = declared.descending;
        // As Access sets them: a primary key is unique and refuses nulls.
        def.flags =
            kIndexFlagsSet | (declared.primaryKey ? kIndexFlagUnique | kIndexFlagRequired
                                                  : (declared.unique ? kIndexFlagUnique : 0));
        if (declared.ignoreNulls && !declared.primaryKey)
            def.flags |= kIndexFlagIgnoreNulls;
        if (declared.columns.empty() || declared.columns.size() > kIndexColumnSlots)
            throw Error(ErrorKind::Invalid, where + "an index holds 1 to " +
                                                std::to_string(kIndexColumnSlots) + " columns");
        for (const std::string& name : declared.columns) {
            const auto at =
                std::find_if(table.columns.begin(), table.columns.end(),
                             [&](const ColumnSpec& c) { return equalsIgnoringCase(c.name, name); });
            if (at == table.columns.end())
                throw Error(ErrorKind::Invalid,
                            where + "no " + named("column", name) + " to index");
            if (at->type == ColumnType::Ole)
                throw Error(ErrorKind::Invalid, where + named("column", at->name) +
                                                    " holds objects, which no index holds");
            const auto number = static_cast<std::uint16_t>(at - table.columns.begin());
            if (std::find(def.columns.begin(), def.columns.end(), number) != def.columns.end())
                throw Error(ErrorKind::Invalid, where + named("index", def.name) + " names " +
                                                    named("column", name) + " twice");
            def.columns.push_back(number);
        }
        for (const IndexDefinition& earlier : out) {
            if (earlier.primaryKey && def.primaryKey)
                throw Error(ErrorKind::Invalid, where + "a table has one primary key at most");
            if (equalsIgnoringCase(earlier.name, def.name))
                throw Error(ErrorKind::Invalid, where + named("two indexes are named", def.name));
        }
        out.push_back(std::move(def));
    }
    return out;
}

// For each index, the number of the physical index behind it: indexes over the same columns in
// the same direction with the same flags share one, numbered in the order they first appear.
std::vector<std::uint32_t> physicalIndexes(const std::vector<IndexDefinition>& indexes) {
    std::vector<std::uint32_t> out;
    std::uint32_t count = 0;
    for (std::size_t i = 0; i < indexes.size(); ++i) {
        const IndexDefinition& a = indexes[i];
        std::size_t same = 0;
        while (same < i &&
               !(indexes[same].columns == a.columns && indexes[same].descending == a.descending &&
                 indexes[same].flags == a.flags))
            ++same;
        out.push_back(same < i ? out[same] : count++);
    }
    return out;
}

// The tables of a new database, laid out: the system tables (with those of Access 2010 files
// when `ace`), then the user tables with their indexes.
std::vector<TableUnderConstruction> tablesOf(const std::vector<TableSpec>& userTables, bool ace) {
    std::vector<TableUnderConstruction> tables;
    for (auto& def : systemTableDefinitions())
        tables.push_back({std::move(def), {}, 0, {}, {}, {}, {}});
    if (ace)
        for (auto& def : aceSystemTableDefinitions())
            tables.push_back({std::move(def), {}, 0, {}, {}, {}, {}});
    for (const auto& spec : userTables) {
        TableDefinition def{spec.name, false, {}, userIndexes(spec)};
        for (const auto& c : spec.columns)
            def.columns.push_back({c, std::nullopt});
        tables.push_back({std::move(def), {}, 0, {}, {}, {}, {}});
    }
    for (auto& t : tables) {
        t.layout = layoutTable(t.definition.name, t.definition.columns, t.definition.system);
        t.physical = physicalIndexes(t.definition.indexes);
        t.layout.sortVersion = ace ? 1 : 0;
    }
    return tables;
}

// The usage maps the tables need: two for each table's pages, one per physical index and two
// per long-value column.
std::size_t usageMapCount(const std::vector<TableUnderConstruction>& tables) {
    std::size_t count = 0;
    for (const auto& t : tables) {
        count +=
            2 +
            (t.physical.empty() ? 0 : *std::max_element(t.physical.begin(), t.physical.end()) + 1);
        for (const auto& c : t.layout.columns)
            count += isLongValue(c.type) ? 2 : 0;
    }
    return count;
}

// How many usage maps one data page holds.
std::size_t usageMapsPerPage(const JetFormat& format) {
    Page page = newDataPage(format, 0);
    std::size_t count = 0;
    while (appendRowToDataPage(format, page, encodeInlineUsageMap({}), 0))
        ++count;
    return count;
}

// Page numbers, in the order the pages are laid out from page 2 on: the table definitions, the
// pages of usage maps (returned; one in a Jet 4 file, more for the many tables of an Access 2010
// one), the index leaves; `nextPage` is then the first page after them.
std::vector<std::uint32_t> numberPages(const JetFormat& format,
                                       std::vector<TableUnderConstruction>& tables,
                                       std::uint32_t& nextPage) {
    nextPage = 2;
    for (auto& t : tables)
        t.definitionPage = nextPage++;
    const std::size_t perPage = usageMapsPerPage(format);
    std::vector<std::uint32_t> usageMapPages;
    for (std::size_t i = 0; i < (usageMapCount(tables) + perPage - 1) / perPage; ++i)
        usageMapPages.push_back(nextPage++);
    for (auto& t : tables)
        for (std::size_t i = 0; i < t.definition.indexes.size(); ++i)
            if (t.physical[i] == t.leafPages.size())
                t.leafPages.push_back(nextPage++);
    return usageMapPages;
}

// The catalogue's rows and their permissions, for every table; the first `systemTables` are
// the engine's.
void addCatalogueRows(std::vector<TableUnderConstruction>& tables, std::size_t systemTables,
                      double now) {
    std::vector<UserTableEntry> aceEntries;
    std::vector<UserTableEntry> userEntries;
    for (std::size_t i = kJetSystemTables; i < tables.size(); ++i)
        (i < systemTables ? aceEntries : userEntries)
            .push_back(
                {tables[i].definition.name, static_cast<std::int32_t>(tables[i].definitionPage)});
    tables[0].rows = catalogueRows(aceEntries, userEntries, now);
    tables[1].rows = permissionRows(aceEntries, userEntries);
}

// Rows onto data pages of their own table, numbered from `nextPage` on.
std::vector<Page> placeRows(const JetFormat& format, std::vector<TableUnderConstruction>& tables,
                            std::uint32_t& nextPage) {
    std::vector<Page> dataPages;
    for (auto& t : tables) {
        RowShape shape =
            rowShapeOf(t.layout.columns, static_cast<std::uint16_t>(t.layout.columns.size()));
        for (const auto& values : t.rows) {
            std::vector<FieldData> fields;
            for (std::size_t c = 0; c < values.size(); ++c)
                fields.push_back(encodeInlineField(t.layout.columns[c], values[c]));
            Page rowBytes = encodeJet4Row(shape, fields);
            std::optional<std::uint8_t> slot;
            if (!t.dataPages.empty())
                slot = appendRowToDataPage(format, dataPages.back(), rowBytes, t.dataPages.back());
            if (!slot) {
                dataPages.push_back(newDataPage(format, t.definitionPage));
                t.dataPages.push_back(nextPage++);
                slot = appendRowToDataPage(format, dataPages.back(), rowBytes, t.dataPages.back());
            }
            t.locations.push_back({t.dataPages.back(), *slot});
        }
        t.layout.rowCount = static_cast<std::uint32_t>(t.rows.size());
    }
    return dataPages;
}

// Each index's leaf page, holding the entries of its table's rows, and its layout.
std::vector<Page> indexLeafPages(const JetFormat& format,
                                 std::vector<TableUnderConstruction>& tables) {
    std::vector<Page> leafPages;
    for (auto& t : tables) {
        const std::size_t firstLeaf = leafPages.size();
        for (std::size_t i = 0; i < t.definition.indexes.size(); ++i) {
            const IndexDefinition& def = t.definition.indexes[i];
            const std::uint32_t physical = t.physical[i];
            if (physical == leafPages.size() - firstLeaf) {
                IndexPageContents leaf;
                for (std::size_t r = 0; r < t.rows.size(); ++r)
                    leaf.entries.push_back(indexEntry(t, def, r));
                std::sort(leaf.entries.begin(), leaf.entries.end());
                leafPages.emplace_back(format.pageSize, 0);
                writeIndexPage(format, leafPages.back(), leaf, t.definitionPage);
            }
            t.layout.indexes.push_back({def.name, def.columns, def.descending, def.flags,
                                        def.primaryKey, physical, t.leafPages[physical], 0,
                                        static_cast<std::uint32_t>(t.rows.size())});
        }
    }
    return leafPages;
}

// Usage maps, filling the pages `usageMapPages` in turn: each table's pages and pages with
// room, then one map per index and two per long-value column.
std::vector<Page> usageMaps(const JetFormat& format, std::vector<TableUnderConstruction>& tables,
                            const std::vector<std::uint32_t>& usageMapPages) {
    std::vector<Page> usagePages{newDataPage(format, 0)};
    auto addMap = [&](const std::vector<std::uint32_t>& pages) {
        const std::vector<std::uint8_t> map = encodeInlineUsageMap(pages);
        std::optional<std::uint8_t> row = appendRowToDataPage(
            format, usagePages.back(), map, usageMapPages.at(usagePages.size() - 1));
        if (!row) {
            usagePages.push_back(newDataPage(format, 0));
            row = appendRowToDataPage(format, usagePages.back(), map,
                                      usageMapPages.at(usagePages.size() - 1));
        }
        return makeRowPointer(usageMapPages.at(usagePages.size() - 1), *row);
    };
    for (auto& t : tables) {
        t.layout.ownedPages = addMap(t.dataPages);
        t.layout.freePages = addMap(t.dataPages);
        std::vector<std::uint32_t> physicalMaps;
        for (IndexLayout& index : t.layout.indexes) {
            if (index.physical == physicalMaps.size())
                physicalMaps.push_back(addMap({index.rootPage}));
            index.usageMap = physicalMaps[index.physical];
        }
        for (const auto& c : t.layout.columns)
            if (isLongValue(c.type))
                t.layout.longValueMaps.push_back({c.number, addMap({}), addMap({})});
    }
    return usagePages;
}

} // namespace

std::vector<std::uint8_t> buildDatabase(const std::vector<TableSpec>& userTables,
                                        const CreateOptions& options) {
    if (options.version != Version::Jet4 && options.version != Version::Ace14)
        throw Error(ErrorKind::Invalid, std::string("creating ") + versionName(options.version) +
                                            " files is not supported");
    const bool ace = options.version == Version::Ace14;
    // Access 2007 and later protect a file with a password only by encrypting it.
    if (ace && !options.password.empty())
        throw Error(ErrorKind::Invalid,
                    "an Access 2010 file keeps no database password unless it is encrypted, "
                    "which creating a file does not do; create it without a password");
    checkUserTables(userTables);
    const JetFormat& format = JetFormat::jet4();
    const double now = options.creationTime.value_or(currentTimeInDays());
    std::vector<TableUnderConstruction> tables = tablesOf(userTables, ace);
    std::uint32_t pageCount = 0;
    const std::vector<std::uint32_t> usageMapPages = numberPages(format, tables, pageCount);
    addCatalogueRows(tables, tables.size() - userTables.size(), now);
    const std::vector<Page> dataPages = placeRows(format, tables, pageCount);
    const std::vector<Page> leafPages = indexLeafPages(format, tables);
    const std::vector<Page> usagePages = usageMaps(format, tables, usageMapPages);

    Page freeMapPage = newDataPage(format, 1);
    appendRowToDataPage(format, freeMapPage, encodeFreePageMap(pageCount), 1);
    appendRowToDataPage(format, freeMapPage, encodeInlineUsageMap({}), 1);

    // Header, map of free pages, table definitions, usage maps, index leaves, data pages.
    std::vector<std::uint8_t> file;
    file.reserve(std::size_t{pageCount} * format.pageSize);
    auto put = [&](const Page& p) { file.insert(file.end(), p.begin(), p.end()); };
    put(ace ? encodeAce14Header(now) : encodeJet4Header(options.password, now));
    put(freeMapPage);
    for (const auto& t : tables)
        put(encodeTableDefinition(t.layout));
    for (const auto& p : usagePages)
        put(p);
    for (const auto& p : leafPages)
        put(p);
    for (const auto& p : dataPages)
        put(p);
    return file;
}

void createDatabase(const std::filesystem::path& path, const std::vector<TableSpec>& tables,
                    const CreateOptions& options) {
    std::vector<std::uint8_t> bytes = buildDatabase(tables, options);
    replaceFileAtomically(path, bytes);
}

} // namespace jet
