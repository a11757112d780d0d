#include "check/index_entries.h"

#include "check/index_tree_check.h"
#include "file/errors.h"
#include "keys/column_key.h"
#include "read/field_decode.h"
#include "read/index_pages_read.h"
#include "read/row.h"
#include "read/slot_table.h"
#include "read/table_scan.h"

#include <algorithm>
#include <set>
#include <tuple>

namespace jet::detail {
namespace {

// The key columns of an index, or none when a text column uses a sort order (or a version)
// whose keys the engine does not build: then only order and row pointers are checked.
std::optional<std::vector<KeyColumn>> checkedKeyColumns(const JetFormat& format,
                                                        const TableDef& def, const Jet3Text& jet3,
                                                        const Index& index) {
    std::vector<KeyColumn> out = keyColumnsOf(format, def, index.columns, jet3);
    if (!std::all_of(out.begin(), out.end(), buildsKeys))
        return std::nullopt;
    return out;
}

constexpr int kMaxMoves = 4;

// The live row an entry names, following a row that has moved; empty when there is none or it
// belongs to another table.
ByteSpan entryRow(const PageStore& pages, const JetFormat& format, const TableDef& def,
                  const LeafEntry& entry) {
    std::uint32_t page = entry.rowPage;
    std::uint16_t slot = entry.rowSlot;
    for (int hop = 0; hop < kMaxMoves; ++hop) {
        if (page == 0 || page >= pages.pageCount() || !isDataPageOf(pages.page(page), def.page))
            return {};
        ByteSpan bytes = pages.page(page);
        if (slot >= slotCount(format, bytes, page))
            return {};
        const RowSlot row = rowSlot(format, bytes, page, slot);
        if (row.bytes.empty() || (hop == 0 && (row.flags & kRowIsMoveTarget)))
            return {};
        if (!(row.flags & kRowMoved))
            return row.bytes;
        if (row.bytes.size() < 4)
            return {};
        const std::uint32_t pointer = le32(row.bytes.data());
        page = rowPointerPage(pointer);
        slot = static_cast<std::uint16_t>(rowPointerRow(pointer));
    }
    return {};
}

// Rows whose indexed columns are all null: an index that ignores nulls has no entry for them.
std::uint64_t allNullRows(const PageStore& pages, const JetFormat& format, const TableDef& def,
                          const Index& index) {
    TableScan scan(pages, format, def);
    RowFrame scratch;
    std::vector<FieldRef> fields;
    std::uint64_t count = 0;
    while (scan.next()) {
        crackRow(format, def, scan.row(), scan.rowPage(), scratch, fields);
        count += std::all_of(index.columns.begin(), index.columns.end(), [&](const IndexColumn& c) {
            return def.columns[c.column].type != ColumnType::Boolean && !fields[c.column].present;
        });
    }
    return count;
}

bool isText(const KeyColumn& column) {
    return column.type == ColumnType::Text || column.type == ColumnType::Memo;
}

// The text values of an entry's row, as a message quotes them.
std::string textsOf(const std::vector<Value>& values, const std::vector<KeyColumn>& columns) {
    std::string out;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!isText(columns[i]))
            continue;
        out += out.empty() ? "" : ", ";
        out += values[i].is<std::string>() ? "\"" + values[i].as<std::string>() + "\"" : "null";
    }
    return out;
}

std::string pointerName(const LeafEntry& entry) {
    return "row " + std::to_string(entry.rowSlot) + " of page " + std::to_string(entry.rowPage);
}

} // namespace

void checkIndexEntries(const PageStore& pages, const JetFormat& format,
                       const CodePageDecoder& textDecoder, std::uint32_t fileSortOrder,
                       const TableDef& def, std::uint64_t liveRows, const std::string& table,
                       const std::function<void(std::string)>& fault,
                       const std::function<void(KeyDifference)>& differs) {
    std::set<std::uint32_t> roots;
    RowFrame scratch;
    std::vector<FieldRef> fields;
    std::vector<std::uint8_t> longValue;
    const FieldContext context{pages, format, textDecoder, longValue};
    for (const Index& index : def.indexes) {
        if (!roots.insert(index.firstPage).second)
            continue; // logical indexes may share one tree
        const std::string name = named("index", index.name) + " of " + table;
        std::vector<LeafEntry> entries;
        try {
            entries = readIndexEntries(pages, format, index.firstPage, def.page);
        } catch (const Error& e) {
            fault(name + ": " + e.what());
            continue;
        }
        // A key that differs is damage where anything else about the index is wrong.
        std::size_t indexFaults = 0;
        const auto indexFault = [&](std::string what) {
            ++indexFaults;
            fault(std::move(what));
        };
        checkIndexTree(pages, format, index.firstPage, def.page, name, indexFault);
        const auto columns =
            checkedKeyColumns(format, def, {textDecoder.codePage(), fileSortOrder}, index);
        const bool hasText = columns && std::any_of(columns->begin(), columns->end(), isText);
        std::string firstDifference;
        std::vector<std::string> differing;  // entries whose text keys are computed otherwise
        std::vector<std::uint64_t> pointers; // page and slot of each entry's row
        pointers.reserve(entries.size());
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const LeafEntry& entry = entries[i];
            const std::size_t faultsBefore = indexFaults;
            if (i > 0) {
                const LeafEntry& before = entries[i - 1];
                if (std::tie(before.key, before.rowPage, before.rowSlot) >=
                    std::tie(entry.key, entry.rowPage, entry.rowSlot))
                    indexFault(name + ": the entry for " + pointerName(entry) +
                               " is out of index order");
            }
            pointers.push_back(std::uint64_t{entry.rowPage} << 8 | entry.rowSlot);
            const ByteSpan row = entryRow(pages, format, def, entry);
            if (row.empty()) {
                indexFault(name + ": the entry for " + pointerName(entry) + " names no live row");
                continue;
            }
            try {
                crackRow(format, def, row, entry.rowPage, scratch, fields);
            } catch (const Error& e) {
                indexFault(name + ": " + e.what());
                continue;
            }
            // A unique index holds one entry a key, but for keys with a null in them.
            const bool anyNull =
                std::any_of(index.columns.begin(), index.columns.end(), [&](const IndexColumn& c) {
                    return def.columns[c.column].type != ColumnType::Boolean &&
                           !fields[c.column].present;
                });
            if (index.unique && i > 0 && entries[i - 1].key == entry.key && !anyNull)
                indexFault(name + ": the entry for " + pointerName(entry) +
                           " repeats the key of the entry before it in a unique index");
            if (!columns)
                continue;
            std::vector<Value> values;
            for (const IndexColumn& c : index.columns)
                values.push_back(decodeField(context, def.name, def.columns[c.column],
                                             fields[c.column], entry.rowPage));
            std::vector<const Value*> refs;
            for (const Value& v : values)
                refs.push_back(&v);
            const std::vector<std::uint8_t> computed = entryKey(refs, *columns);
            if (computed == entry.key)
                continue;
            const std::size_t weighted = weightedKeyPrefix(refs, *columns);
            const bool sameWeights =
                entry.key.size() >= weighted &&
                std::equal(computed.begin(), computed.begin() + static_cast<long>(weighted),
                           entry.key.begin());
            if (!hasText || !sameWeights || indexFaults > faultsBefore) {
                indexFault(name + ": the key of the entry for " + pointerName(entry) +
                           " is not the key of that row's values");
                continue;
            }
            if (differing.empty())
                firstDifference = name + ": the stored key of the entry for " + pointerName(entry) +
                                  " (" + textsOf(values, *columns) +
                                  ") differs from the key this program computes for that row";
            differing.push_back(pointerName(entry));
        }
        std::sort(pointers.begin(), pointers.end());
        for (auto at = std::adjacent_find(pointers.begin(), pointers.end()); at != pointers.end();
             at = std::adjacent_find(at + 1, pointers.end()))
            indexFault(name + ": two entries for " +
                       pointerName({{},
                                    static_cast<std::uint32_t>(*at >> 8),
                                    static_cast<std::uint8_t>(*at & 0xff)}));
        const std::uint64_t expected =
            liveRows - (index.ignoreNulls ? allNullRows(pages, format, def, index) : 0);
        if (entries.size() != expected)
            indexFault(name + ": holds " + std::to_string(entries.size()) + " entries for " +
                       std::to_string(expected) + " rows");
        if (differing.empty())
            continue;
        if (indexFaults > 0) {
            for (const std::string& entry : differing)
                fault(name + ": the key of the entry for " + entry +
                      " is not the key of that row's values");
            continue;
        }
        if (differing.size() > 1)
            firstDifference += " (" + std::to_string(differing.size()) + " entries in all)";
        differs({def.page, index.firstPage,
                 firstDifference + "; this program adds no rows to this index"});
    }
}

} // namespace jet::detail
