#include "write/relationship_check.h"

#include "file/errors.h"
#include "read/catalog.h"
#include "read/code_page.h"
#include "write/index_tree.h"

#include <algorithm>

namespace jet::detail {

RelationshipCheck::RelationshipCheck(PageStore& pages, const JetFormat& format,
                                     PageAllocator allocate, const TableDef& def,
                                     const CodePageDecoder& text, std::uint32_t fileSortOrder)
    : pages_(pages), format_(format), allocate_(std::move(allocate)) {
    const std::vector<LogicalIndexFacts>& own = def.logicalIndexes;
    if (std::none_of(own.begin(), own.end(),
                     [](const LogicalIndexFacts& i) { return i.related && !i.primarySide; }))
        return;
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
        const std::vector<LogicalIndexFacts>& theirs = related.logicalIndexes;
        const auto target =
            std::find_if(theirs.begin(), theirs.end(),
                         [&](const LogicalIndexFacts& i) { return i.number == fk.relatedIndex; });
        if (target == theirs.end())
            throwCorrupt(relationship + " names an index " + named("table", related.name) +
                         " does not have");
        const RealIndex& mine = def.realIndexes[fk.physical];
        const RealIndex& parent = related.realIndexes[target->physical];
        if (mine.columns.size() != parent.columns.size())
            throwCorrupt(relationship + " joins different numbers of columns");
        Link link;
        link.description = named("the relationship", fk.name) + " between " +
                           named("table", related.name) + " (" + named("index", target->name) +
                           ") and " + named("table", def.name);
        link.columns = mine.columns;
        link.keyColumns =
            keyColumnsOf(format, related, parent.columns, {text.codePage(), fileSortOrder});
        link.relatedTablePage = related.page;
        link.root = parent.root;
        link.usageMap = parent.usageMap;
        links_.push_back(std::move(link));
    }
}

void RelationshipCheck::check(const std::vector<Value>& row) const {
    for (const Link& link : links_) {
        std::vector<const Value*> values;
        for (const IndexColumn& c : link.columns)
            values.push_back(&row[c.column]);
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
