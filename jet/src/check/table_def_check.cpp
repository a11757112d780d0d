#include "check/table_def_check.h"

#include "file/errors.h"

#include <map>
#include <set>

namespace jet::detail {

namespace {

bool knownType(ColumnType type, const JetFormat& format) {
    switch (type) {
    case ColumnType::Boolean:
    case ColumnType::Byte:
    case ColumnType::Integer:
    case ColumnType::Long:
    case ColumnType::Currency:
    case ColumnType::Single:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::Binary:
    case ColumnType::Text:
    case ColumnType::Ole:
    case ColumnType::Memo:
    case ColumnType::Guid:
    case ColumnType::Numeric:
        return true;
    case ColumnType::Complex:
    case ColumnType::BigInt:
    case ColumnType::ExtendedDateTime:
        return format.aceColumns;
    }
    // Access keeps these in some of its own tables, read as binary (0x46 to 0x48 in Access 2007
    // and later).
    const int code = static_cast<int>(type);
    return code == 0x0d || code == 0x11 || (format.aceColumns && code >= 0x46 && code <= 0x48);
}

bool isText(ColumnType type) {
    return type == ColumnType::Text || type == ColumnType::Memo;
}

// The bytes a fixed column takes in a row's fixed part (none for a boolean, whose value is its
// null-mask bit).
std::size_t fixedBytes(const Column& column) {
    if (column.type == ColumnType::Boolean && !column.calculated)
        return 0;
    if (column.calculated)
        return column.length;
    const std::size_t size = fixedSizeOf(column.type);
    return size != 0 ? size : column.length;
}

// The most a text or binary value may hold, in bytes: 255 characters of two bytes in Jet 4.
std::size_t maxVariableLength(const JetFormat& format) {
    return format.version == Version::Jet4 ? 510 : 255;
}

std::string columnText(const std::string& table, const Column& column) {
    return table + " " + named("column", column.name);
}

void checkColumns(const JetFormat& format, const TableDef& def, const std::string& table,
                  const FaultSink& fault) {
    std::set<std::uint16_t> numbers;
    std::map<std::uint16_t, std::string> slots;                       // variable slot → column
    std::map<std::size_t, std::pair<std::size_t, std::string>> fixed; // start → end, column
    std::size_t variable = 0;
    for (std::size_t i = 0; i < def.columns.size(); ++i) {
        const Column& column = def.columns[i];
        const ColumnPlacement& layout = def.placements[i];
        const std::string where = columnText(table, column);
        if (!knownType(column.type, format)) {
            fault(where + ": has the unknown type " +
                  std::to_string(static_cast<int>(column.type)));
            continue;
        }
        if (!numbers.insert(column.number).second)
            fault(where + ": has the number " + std::to_string(column.number) +
                  " of another column");
        if (column.number >= def.maxColumns)
            fault(where + ": has the number " + std::to_string(column.number) +
                  " but the table's rows hold at most " + std::to_string(def.maxColumns) +
                  " columns");
        // Numbers may be kept in variable slots (Access does so in some of its own tables), but
        // long values and booleans have one place each.
        if ((column.type == ColumnType::Boolean && !column.fixedLength) ||
            (isLongValue(column.type) && column.fixedLength))
            fault(where + ": is marked " + (column.fixedLength ? "fixed" : "variable") +
                  "-length, which a " + columnTypeName(column.type) + " column cannot be");
        // Calculated values are wrapped; Access 2007 and later declare decimals shorter than they
        // are stored.
        if (fixedSizeOf(column.type) != 0 && column.length != fixedSizeOf(column.type) &&
            !column.calculated && column.type != ColumnType::Numeric)
            fault(where + ": declares " + std::to_string(column.length) + " bytes where a " +
                  columnTypeName(column.type) + " takes " +
                  std::to_string(fixedSizeOf(column.type)));
        if ((column.type == ColumnType::Text || column.type == ColumnType::Binary) &&
            (column.length == 0 || column.length > maxVariableLength(format)))
            fault(where + ": declares a length of " + std::to_string(column.length) + " bytes");
        // A complex column numbers its fields as an autonumber does.
        if ((layout.flags & kColumnAutoLong) && column.type != ColumnType::Long &&
            column.type != ColumnType::Complex)
            fault(where + ": is an autonumber but not a long column");
        if (column.compressedUnicode && !isText(column.type))
            fault(where + ": is marked as compressed text but is not a text column");
        if (column.fixedLength) {
            const std::size_t size = fixedBytes(column);
            if (size == 0)
                continue;
            const std::size_t start = layout.fixedOffset;
            auto next = fixed.lower_bound(start);
            if ((next != fixed.end() && next->first < start + size) ||
                (next != fixed.begin() && std::prev(next)->second.first > start))
                fault(where + ": shares its bytes of the row with " +
                      named("column",
                            (next != fixed.end() && next->first < start + size ? next
                                                                               : std::prev(next))
                                ->second.second));
            fixed.emplace(start, std::make_pair(start + size, column.name));
            continue;
        }
        ++variable;
        if (auto [at, added] = slots.emplace(layout.varIndex, column.name); !added)
            fault(where + ": reads its value from variable slot " +
                  std::to_string(layout.varIndex) + ", as " + named("column", at->second) +
                  " does");
        if (layout.varIndex >= def.varColumnCount)
            fault(where + ": reads its value from variable slot " +
                  std::to_string(layout.varIndex) + " but the table has " +
                  std::to_string(def.varColumnCount) + " variable columns");
    }
    if (variable > def.varColumnCount)
        fault(table + ": has " + std::to_string(variable) + " variable-length columns but says " +
              std::to_string(def.varColumnCount));
}

void checkIndexes(const TableDef& def, const std::string& table, const FaultSink& fault) {
    for (std::size_t i = 0; i < def.realIndexes.size(); ++i) {
        const RealIndex& real = def.realIndexes[i];
        std::set<std::uint16_t> columns;
        for (const IndexColumn& column : real.columns) {
            const Column& c = def.columns[column.column];
            if (!columns.insert(column.column).second)
                fault(table + ": physical index " + std::to_string(i) + " names " +
                      named("column", c.name) + " twice");
            if (c.type == ColumnType::Ole)
                fault(table + ": physical index " + std::to_string(i) + " is over " +
                      named("column", c.name) + ", a " + columnTypeName(c.type) + " column");
        }
        if (real.columns.empty())
            fault(table + ": physical index " + std::to_string(i) + " names no column");
    }
    std::size_t primaryKeys = 0;
    std::vector<bool> used(def.realIndexes.size());
    for (std::size_t i = 0; i < def.indexes.size(); ++i) {
        primaryKeys += def.indexes[i].primaryKey;
        used[def.logicalIndexes[i].physical] = true;
    }
    for (std::size_t i = 0; i < used.size(); ++i)
        if (!used[i])
            fault(table + ": physical index " + std::to_string(i) + " is used by no index");
    if (primaryKeys > 1)
        fault(table + ": has " + std::to_string(primaryKeys) + " primary keys");
}

void checkLongValueMaps(const TableDef& def, const std::string& table, const FaultSink& fault) {
    std::set<std::uint16_t> seen;
    for (const LongValueMapRef& lv : def.longValueMaps) {
        const int position = positionOfColumnNumber(def, lv.column);
        if (position < 0 || !isLongValue(def.columns[static_cast<std::size_t>(position)].type))
            fault(table + ": lists long-value maps for column number " + std::to_string(lv.column) +
                  ", which is not a memo or OLE column");
        else if (!seen.insert(lv.column).second)
            fault(table + ": lists the long-value maps of " +
                  named("column", def.columns[static_cast<std::size_t>(position)].name) + " twice");
    }
}

enum RowFault : std::size_t {
    kTooManyColumns,
    kFixedPastArea,
    kSlotBeyondCount,
    kTooLong,
    kPastAutoNumber,
    kRowFaultKinds,
};

} // namespace

void checkTableDefFields(const JetFormat& format, const TableDef& def, bool withIndexes,
                         const std::string& table, const FaultSink& fault) {
    checkColumns(format, def, table, fault);
    if (withIndexes)
        checkIndexes(def, table, fault);
    checkLongValueMaps(def, table, fault);
}

RowLayoutCheck::RowLayoutCheck(const TableDef& def, std::string table, FaultSink fault)
    : def_(def), table_(std::move(table)), fault_(std::move(fault)), told_(kRowFaultKinds, false) {}

void RowLayoutCheck::once(std::size_t kind, std::uint32_t page, const std::string& what) {
    if (told_[kind])
        return;
    told_[kind] = true;
    fault_("page " + std::to_string(page) + ": a row of " + table_ + " " + what);
}

void RowLayoutCheck::row(const RowFrame& frame, const std::vector<FieldRef>& fields,
                         std::uint32_t page) {
    if (frame.columnCount() > def_.maxColumns)
        once(kTooManyColumns, page,
             "holds " + std::to_string(frame.columnCount()) +
                 " columns but the table has at most " + std::to_string(def_.maxColumns));
    for (std::size_t i = 0; i < def_.columns.size(); ++i) {
        const Column& column = def_.columns[i];
        const ColumnPlacement& layout = def_.placements[i];
        if (column.number >= frame.columnCount())
            continue; // the row predates the column
        if (column.fixedLength) {
            const std::size_t end = frame.fixedStart() + layout.fixedOffset + fixedBytes(column);
            if (fixedBytes(column) != 0 && end > frame.fixedEnd())
                once(kFixedPastArea, page,
                     "ends its fixed-length columns at byte " + std::to_string(frame.fixedEnd()) +
                         ", before the end of " + named("column", column.name) + " (" +
                         std::to_string(end) + ")");
            // Complex columns count their fields apart from the table's autonumber.
            if (column.autoNumber && column.type != ColumnType::Complex && fields[i].present &&
                fields[i].bytes.size() == 4 && le32(fields[i].bytes.data()) > def_.lastAutoNumber)
                once(kPastAutoNumber, page,
                     "holds the autonumber " + std::to_string(le32(fields[i].bytes.data())) +
                         " in " + named("column", column.name) + ", past the table's last, " +
                         std::to_string(def_.lastAutoNumber));
            continue;
        }
        if (layout.varIndex >= frame.variableCount()) {
            once(kSlotBeyondCount, page,
                 "holds " + std::to_string(frame.variableCount()) + " variable-length columns, " +
                     "too few for " + named("column", column.name) + " (slot " +
                     std::to_string(layout.varIndex) + ")");
            continue;
        }
        if ((column.type == ColumnType::Text || column.type == ColumnType::Binary) &&
            fields[i].present && fields[i].bytes.size() > column.length)
            once(kTooLong, page,
                 "holds " + std::to_string(fields[i].bytes.size()) + " bytes in " +
                     named("column", column.name) + ", which holds at most " +
                     std::to_string(column.length));
    }
}

} // namespace jet::detail
