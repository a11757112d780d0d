#include "write/index_maintenance.h"

#include "file/byte_writer.h"
#include "file/errors.h"

#include <algorithm>

namespace jet::detail {
namespace {

// Each physical index has a count in the definition's header: its distinct keys.
constexpr std::size_t kDistinctKeysField = 4;

} // namespace

struct IndexMaintenance::PhysicalIndex {
    std::string name; // of the named index it serves (the primary key's, if one)
    std::size_t number = 0;
    std::vector<IndexColumn> columns;
    std::vector<KeyColumn> keyColumns; // parallel to columns
    bool unique = false;
    bool primaryKey = false;
    bool required = false;
    bool ignoreNulls = false;
    std::uint32_t root = 0;
    std::string refusal; // why no entries may be added, if none may
    std::unique_ptr<IndexTree> tree;
};

IndexMaintenance::IndexMaintenance(PageStore& pages, const JetFormat& format,
                                   PageAllocator allocate, const TableDef& def,
                                   const CodePageDecoder& text, std::uint32_t fileSortOrder)
    : pages_(pages), format_(format), tablePage_(def.page), table_(def.name),
      relationships_(pages, format, allocate, def, text, fileSortOrder) {
    for (std::size_t r = 0; r < def.realIndexes.size(); ++r) {
        const RealIndex& real = def.realIndexes[r];
        PhysicalIndex index;
        index.number = r;
        index.root = real.root;
        index.columns = real.columns;
        index.keyColumns =
            keyColumnsOf(format, def, real.columns, {text.codePage(), fileSortOrder});
        index.unique = real.flags & kIndexFlagUnique;
        index.ignoreNulls = real.flags & kIndexFlagIgnoreNulls;
        index.required = real.flags & kIndexFlagRequired;
        for (const Index& named : def.indexes) {
            if (named.firstPage != real.root)
                continue;
            if (index.name.empty() || named.primaryKey)
                index.name = named.name;
            index.primaryKey = index.primaryKey || named.primaryKey;
        }
        index.unique = index.unique || index.primaryKey;
        index.tree = std::make_unique<IndexTree>(pages, format, allocate, def.page, real.root,
                                                 real.usageMap);
        indexes_.push_back(std::move(index));
    }
}

IndexMaintenance::IndexMaintenance(IndexMaintenance&&) noexcept = default;
IndexMaintenance::~IndexMaintenance() = default;

IndexMaintenance::Keys IndexMaintenance::prepare(const std::vector<Value>& row) {
    Keys keys;
    for (PhysicalIndex& index : indexes_) {
        const std::string what = named("table", table_) + ", " + named("index", index.name);
        std::vector<const Value*> values;
        for (const IndexColumn& c : index.columns)
            values.push_back(&row[c.column]);
        const auto isNull = [](const Value* v) { return v->isNull(); };
        const bool allNull = std::all_of(values.begin(), values.end(), isNull);
        const bool anyNull = std::any_of(values.begin(), values.end(), isNull);
        if ((index.primaryKey || index.required) && anyNull)
            throw Error(ErrorKind::Invalid,
                        what + ": a value is missing in " +
                            (index.primaryKey ? "the primary key" : "a required index"));
        if (index.ignoreNulls && allNull) {
            keys.emplace_back();
            continue;
        }
        if (!index.refusal.empty())
            throw Error(ErrorKind::Invalid, index.refusal);
        std::vector<std::uint8_t> key;
        try {
            key = entryKey(values, index.keyColumns);
        } catch (const Error& e) {
            throw Error(ErrorKind::Invalid, what + ": " + e.what());
        }
        if (index.unique && !allNull && index.tree->containsKey(key))
            throw Error(ErrorKind::Invalid,
                        what + ": the row duplicates a key of " +
                            (index.primaryKey ? "the primary key" : "this unique index"));
        keys.push_back(std::move(key));
    }
    relationships_.check(row);
    return keys;
}

void IndexMaintenance::refuseAdding(std::uint32_t root, std::string why) {
    for (PhysicalIndex& index : indexes_)
        if (index.root == root)
            index.refusal = why;
}

void IndexMaintenance::insert(const Keys& keys, std::uint32_t rowPage, std::uint8_t rowSlot) {
    for (std::size_t i = 0; i < indexes_.size(); ++i) {
        if (!keys[i])
            continue;
        PhysicalIndex& index = indexes_[i];
        const bool newKey = !index.tree->containsKey(*keys[i]);
        index.tree->insert(*keys[i], rowPage, rowSlot);
        const std::size_t count = format_.tdefRealIndexStart +
                                  index.number * format_.tdefRealIndexEntrySize +
                                  kDistinctKeysField;
        if (newKey && count + 4 <= format_.pageSize) {
            std::span<std::uint8_t> tdef = pages_.mutablePage(tablePage_);
            putLe32(tdef, count, le32(tdef.data() + count) + 1);
        }
    }
}

} // namespace jet::detail
