#include "write/relationship_check.h"

#include "file/errors.h"
#include "read/catalog.h"
#include "read/code_page.h"
#include "read/relationships_read.h"
#include "write/index_maintenance.h"
#include "write/index_tree.h"

#include <algorithm>

namespace jet::detail {

RelationshipCheck::RelationshipCheck(PageStore& pages, const JetFormat& format,
                                     PageAllocator allocate, const TableDef& def,
                                     const CodePageDecoder& text)
    : pages_(pages), format_(format), allocate_(std::move(allocate)) {
    if (std::none_of(def.indexes.begin(), def.indexes.end(),
                     [](const Index& i) { return i.foreignKey; }))
        return;
    const std::vector<LogicalIndexFacts> own = readLogicalIndexes(pages, format, def);
    if (std::none_of(own.begin(), own.end(),
                     [](const LogicalIndexFacts& i) { return i.related && !i.primarySide; }))
        return;
    const std::vector<IndexShape> ownShapes = readIndexShapes(pages, format, def, text);
    const std::vector<CatalogEntry> catalog = readCatalog(pages, format, text);

    for (const LogicalIndexFacts& fk : own) {
        if (!fk.related || fk.primarySide)
            continue;
        const auto entry = std::find_if(catalog.begin(), catalog.end(), [&](const CatalogEntry& e) {
            return e.type == kObjectTable && e.tableDefPage() == fk.relatedTablePage;
        });
        const std::string relationship =
            named("the relationship", fk.name) + " of " + named("table", def.name);
        if (entry == catalog.end())
            throwCorrupt(relationship + " names a table that is not there");
        const TableDef related =
            readTableDef(pages, format, text, fk.relatedTablePage, entry->name);
        const std::vector<LogicalIndexFacts> theirs = readLogicalIndexes(pages, format, related);
        const auto target =
            std::find_if(theirs.begin(), theirs.end(),
                         [&](const LogicalIndexFacts& i) { return i.number == fk.relatedIndex; });
        const std::vector<IndexShape> theirShapes = readIndexShapes(pages, format, related, text);
        if (target == theirs.end() || target->physical >= theirShapes.size() ||
            fk.physical >= ownShapes.size())
            throwCorrupt(relationship + " names an index " + named("table", related.name) +
                         " does not have");
        const IndexShape& mine = ownShapes[fk.physical];
        const IndexShape& parent = theirShapes[target->physical];
        if (mine.positions.size() != parent.positions.size())
            throwCorrupt(relationship + " joins different numbers of columns");
        Link link;
        link.description = named("the relationship", fk.name) + " between " +
                           named("table", related.name) + " (" + named("index", target->name) +
                           ") and " + named("table", def.name);
        link.positions = mine.positions;
        link.keyColumns = parent.keyColumns;
        link.relatedTablePage = related.page;
        link.root = parent.root;
        link.usageMap = parent.usageMap;
        links_.push_back(std::move(link));
    }
}

void RelationshipCheck::check(const std::vector<Value>& row) const {
    for (const Link& link : links_) {
        std::vector<const Value*> values;
        for (std::size_t position : link.positions)
            values.push_back(&row[position]);
        if (std::any_of(values.begin(), values.end(), [](const Value* v) { return v->isNull(); }))
            continue;
        std::vector<std::uint8_t> key;
        try {
            key = entryKey(values, link.keyColumns);
        } catch (const Error& e) {
            throw Error(ErrorKind::Invalid, "cannot check " + link.description + ": " + e.what());
        }
        // A tree read afresh each time: the related table may have had rows appended since,
        // through its own index trees.
        IndexTree related(pages_, format_, allocate_, link.relatedTablePage, link.root,
                          link.usageMap);
        if (!related.containsKey(key))
            throw Error(ErrorKind::Invalid, "the row breaks " + link.description +
                                                ": no row of the related table has its values");
    }
}

} // namespace jet::detail
