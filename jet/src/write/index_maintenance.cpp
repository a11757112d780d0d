#include "write/index_maintenance.h"

#include "file/byte_writer.h"
#include "file/errors.h"
#include "keys/text_key97.h"
#include "read/index_pages_read.h"
#include "read/relationships_read.h"

#include <algorithm>

namespace jet::detail {
namespace {

constexpr std::uint8_t kAscending = 1;

// Where one physical index's fields lie in the table definition, after its lead bytes.
constexpr std::size_t kUsageMapField = kIndexColumnSlots * 3;
constexpr std::size_t kRootField = kUsageMapField + 4;
constexpr std::size_t kFlagsField = kRootField + 4;
// Each physical index also has a count in the definition's header: its distinct keys.
constexpr std::size_t kDistinctKeysField = 4;

bool isNull(const Value& v) {
    return v.isNull();
}

} // namespace

std::vector<IndexShape> readIndexShapes(const PageStore& pages, const JetFormat& format,
                                        const TableDef& def, const CodePageDecoder& text) {
    const std::vector<std::uint8_t> bytes = readTableDefBytes(pages, def.page, def.name);
    const std::vector<ColumnSortOrder> orders = readColumnSortOrders(pages, format, def);
    std::size_t at = physicalIndexListOffset(bytes, format, def);
    const std::size_t beforeFlags = format.version == Version::Jet4 ? 4 : 0;
    std::vector<IndexShape> out(def.realIndexCount);
    for (IndexShape& index : out) {
        if (at + format.realIndexSize > bytes.size())
            throwCorrupt("the index list of " + named("table", def.name) + " is cut short");
        const std::uint8_t* p = bytes.data() + at + format.realIndexLead;
        for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
            const std::uint16_t number = le16(p + slot * 3);
            if (number == kNoColumn)
                continue;
            const auto column = std::find_if(def.columns.begin(), def.columns.end(),
                                             [&](const Column& c) { return c.number == number; });
            if (column == def.columns.end())
                throwCorrupt("an index of " + named("table", def.name) + " names a missing column");
            const auto position = static_cast<std::size_t>(column - def.columns.begin());
            KeyColumn key{column->type, p[slot * 3 + 2] == kAscending, orders[position].supported(),
                          orders[position].name()};
            if (format.version == Version::Jet3) {
                key.textOrder = jet3TextSortOrder(text.codePage());
                key.sortOrderName =
                    "of Access 97 text in code page " + std::to_string(text.codePage());
            }
            index.positions.push_back(position);
            index.keyColumns.push_back(std::move(key));
        }
        index.usageMap = le32(p + kUsageMapField);
        index.root = le32(p + kRootField);
        index.flags = p[kFlagsField + beforeFlags];
        at += format.realIndexSize;
    }
    return out;
}

struct IndexMaintenance::PhysicalIndex {
    std::string name; // of the named index it serves (the primary key's, if one)
    std::size_t number = 0;
    std::vector<std::size_t> columns; // positions in the row
    std::vector<KeyColumn> keyColumns;
    bool unique = false;
    bool primaryKey = false;
    bool required = false;
    bool ignoreNulls = false;
    std::unique_ptr<IndexTree> tree;
};

IndexMaintenance::IndexMaintenance(PageStore& pages, const JetFormat& format,
                                   PageAllocator allocate, const TableDef& def,
                                   const CodePageDecoder& text)
    : pages_(pages), format_(format), tablePage_(def.page), table_(def.name),
      relationships_(pages, format, allocate, def, text) {
    if (def.realIndexCount == 0)
        return;
    std::vector<IndexShape> shapes = readIndexShapes(pages, format, def, text);
    for (std::size_t r = 0; r < shapes.size(); ++r) {
        IndexShape& shape = shapes[r];
        PhysicalIndex index;
        index.number = r;
        index.columns = std::move(shape.positions);
        index.keyColumns = std::move(shape.keyColumns);
        index.unique = shape.flags & kIndexFlagUnique;
        index.ignoreNulls = shape.flags & kIndexFlagIgnoreNulls;
        index.required = shape.flags & kIndexFlagRequired;
        for (const Index& named : def.indexes) {
            if (named.firstPage != shape.root)
                continue;
            if (index.name.empty() || named.primaryKey)
                index.name = named.name;
            index.primaryKey = index.primaryKey || named.primaryKey;
        }
        index.unique = index.unique || index.primaryKey;
        index.tree = std::make_unique<IndexTree>(pages, format, allocate, def.page, shape.root,
                                                 shape.usageMap);
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
        for (std::size_t position : index.columns)
            values.push_back(&row[position]);
        const bool allNull =
            std::all_of(values.begin(), values.end(), [](const Value* v) { return isNull(*v); });
        const bool anyNull =
            std::any_of(values.begin(), values.end(), [](const Value* v) { return isNull(*v); });
        if ((index.primaryKey || index.required) && anyNull)
            throw Error(ErrorKind::Invalid,
                        what + ": a value is missing in " +
                            (index.primaryKey ? "the primary key" : "a required index"));
        if (index.ignoreNulls && allNull) {
            keys.emplace_back();
            continue;
        }
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
