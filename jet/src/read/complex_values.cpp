#include "read/complex_values.h"

#include "file/errors.h"
#include "read/field_decode.h"
#include "read/names.h"
#include "read/state.h"

#include <algorithm>
#include <zlib.h>

namespace jet::detail {

namespace {

constexpr char kComplexColumnsTable[] = "MSysComplexColumns";
constexpr std::uint32_t kAttachmentDeflated = 1;
// Deflate shrinks data at most about a thousandfold; a stored length beyond that is damage.
constexpr std::size_t kMostInflation = 1032;

const CatalogEntry* tableWithId(const DatabaseState& db, std::int64_t id) {
    for (const CatalogEntry& entry : db.allTables)
        if (entry.id == id)
            return &entry;
    return nullptr;
}

TableDef definitionOf(const DatabaseState& db, const CatalogEntry& entry) {
    return readTableDef(db.pages, *db.format, *db.textDecoder, entry.tableDefPage(), entry.name);
}

// Calls visit(values) with every live row of the table, each field decoded.
template <class Visit> void eachRow(const DatabaseState& db, const TableDef& def, Visit visit) {
    std::vector<std::uint8_t> scratch;
    const FieldContext context{db.pages, *db.format, *db.textDecoder, scratch};
    RowFrame frame;
    std::vector<FieldRef> fields;
    std::vector<Value> values(def.columns.size());
    TableScan scan(db.pages, *db.format, def);
    while (scan.next()) {
        crackRow(*db.format, def, scan.row(), scan.rowPage(), frame, fields);
        for (std::size_t i = 0; i < def.columns.size(); ++i)
            decodeFieldInto(context, def.name, def.columns[i], fields[i], scan.rowPage(),
                            values[i]);
        visit(values);
    }
}

std::int64_t integerOf(const Value& v) {
    return v.is<std::int64_t>() ? v.as<std::int64_t>() : -1;
}

// The MSysComplexColumns row of a complex column: its kind's table and its flat table.
struct ComplexColumnRow {
    std::int64_t typeTable = -1;
    std::int64_t flatTable = -1;
};

ComplexColumnRow complexColumnRow(const DatabaseState& db, std::uint32_t complexId,
                                  const std::string& where) {
    const CatalogEntry* entry = nullptr;
    for (const CatalogEntry& e : db.allTables)
        if (equalsIgnoringCase(e.name, kComplexColumnsTable))
            entry = &e;
    if (!entry)
        throwCorrupt(where + " is a complex column, but the file has no " + kComplexColumnsTable);
    const TableDef def = definitionOf(db, *entry);
    const int id = columnPosition(def.columns, "ComplexID");
    const int type = columnPosition(def.columns, "ComplexTypeObjectID");
    const int flat = columnPosition(def.columns, "FlatTableID");
    if (id < 0 || type < 0 || flat < 0)
        throwCorrupt(std::string(kComplexColumnsTable) + " lacks the columns that describe " +
                     where);
    ComplexColumnRow found;
    eachRow(db, def, [&](const std::vector<Value>& row) {
        if (integerOf(row[static_cast<std::size_t>(id)]) == complexId)
            found = {integerOf(row[static_cast<std::size_t>(type)]),
                     integerOf(row[static_cast<std::size_t>(flat)])};
    });
    if (found.flatTable < 0)
        throwCorrupt(std::string(kComplexColumnsTable) + " does not describe " + where +
                     " (complex id " + std::to_string(complexId) + ")");
    return found;
}

std::size_t countOf(const TableDef& def, ColumnType type) {
    return static_cast<std::size_t>(std::count_if(def.columns.begin(), def.columns.end(),
                                                  [&](const Column& c) { return c.type == type; }));
}

// The kind, from the columns of the table that describes it.
ComplexKind kindOf(const TableDef& typeTable) {
    if (typeTable.columns.size() == 1) {
        switch (typeTable.columns[0].type) {
        case ColumnType::Byte:
        case ColumnType::Integer:
        case ColumnType::Long:
        case ColumnType::Single:
        case ColumnType::Double:
        case ColumnType::Guid:
        case ColumnType::Numeric:
        case ColumnType::Text:
        case ColumnType::BigInt:
            return ComplexKind::MultipleValues;
        default:
            return ComplexKind::Unknown; // values of a type Access did not define for these
        }
    }
    if (countOf(typeTable, ColumnType::Ole) >= 1 && countOf(typeTable, ColumnType::Text) >= 2 &&
        countOf(typeTable, ColumnType::Memo) >= 1 && countOf(typeTable, ColumnType::DateTime) >= 1)
        return ComplexKind::Attachments;
    if (countOf(typeTable, ColumnType::Memo) == 1 && countOf(typeTable, ColumnType::DateTime) == 1)
        return ComplexKind::VersionHistory;
    return ComplexKind::Unknown;
}

// Positions in the flat table of the columns a kind shows, and of the key.
struct FlatColumns {
    int key = -1;
    int value = -1; // the value, the attachment's data, the memo's text
    int name = -1;  // the attachment's file name, the memo version's date
    int type = -1;  // the attachment's file type
};

FlatColumns flatColumns(const TableDef& flat, const TableDef& typeTable, ComplexKind kind) {
    FlatColumns out;
    for (std::size_t i = 0; i < flat.columns.size(); ++i) {
        const Column& c = flat.columns[i];
        const int at = static_cast<int>(i);
        if (columnPosition(typeTable.columns, c.name) < 0) {
            if (c.type == ColumnType::Long && !c.autoNumber)
                out.key = at;
            continue;
        }
        switch (kind) {
        case ComplexKind::MultipleValues:
            out.value = at;
            break;
        case ComplexKind::Attachments:
            if (c.type == ColumnType::Ole)
                out.value = at;
            else if (c.type == ColumnType::Text &&
                     (equalsIgnoringCase(c.name, "FileName") ||
                      (out.name < 0 && out.type < 0 && !equalsIgnoringCase(c.name, "FileType"))))
                out.name = at;
            else if (c.type == ColumnType::Text && out.type < 0)
                out.type = at;
            break;
        case ComplexKind::VersionHistory:
            if (c.type == ColumnType::Memo)
                out.value = at;
            else if (c.type == ColumnType::DateTime)
                out.name = at;
            break;
        case ComplexKind::Unknown:
            break;
        }
    }
    return out;
}

std::string textOf(const std::vector<Value>& row, int at) {
    return at >= 0 && row[static_cast<std::size_t>(at)].is<std::string>()
               ? row[static_cast<std::size_t>(at)].as<std::string>()
               : std::string();
}

Bytes inflated(ByteSpan deflated, std::size_t expected, const std::string& where) {
    Bytes out(expected);
    z_stream stream{};
    if (inflateInit(&stream) != Z_OK)
        throw Error(ErrorKind::Io, "cannot start to decompress " + where);
    stream.next_in = const_cast<Bytef*>(deflated.data());
    stream.avail_in = static_cast<uInt>(deflated.size());
    stream.next_out = out.data();
    stream.avail_out = static_cast<uInt>(out.size());
    const int result = inflate(&stream, Z_FINISH);
    const std::size_t produced = stream.total_out;
    inflateEnd(&stream);
    if (result != Z_STREAM_END && result != Z_BUF_ERROR && result != Z_OK)
        throwCorrupt(where + " holds compressed data that does not decompress");
    out.resize(produced);
    return out;
}

} // namespace

Bytes attachmentBytes(const Bytes& stored, const std::string& where) {
    if (stored.size() < 8)
        throwCorrupt(where + " holds an attachment of " + std::to_string(stored.size()) +
                     " bytes, too short for its header");
    const std::uint32_t kind = le32(stored.data());
    const std::size_t length = le32(stored.data() + 4);
    ByteSpan content(stored.data() + 8, stored.size() - 8);
    Bytes expanded;
    if (kind == kAttachmentDeflated) {
        if (length > stored.size() * kMostInflation + 64)
            throwCorrupt(where + " claims an attachment of " + std::to_string(length) +
                         " bytes, more than its compressed data can hold");
        expanded = inflated(content, length, where);
        content = ByteSpan(expanded.data(), expanded.size());
    } else if (kind != 0) {
        throwCorrupt(where + " holds an attachment stored in an unknown way (" +
                     std::to_string(kind) + ")");
    }
    const std::size_t end = std::min(length, content.size());
    const std::size_t header = content.size() >= 4 ? le32(content.data()) : 0;
    if (header < 4 || header > end)
        throwCorrupt(where + " holds an attachment whose header is damaged");
    return Bytes(content.begin() + static_cast<std::ptrdiff_t>(header),
                 content.begin() + static_cast<std::ptrdiff_t>(end));
}

ComplexColumnValues ComplexColumnValues::read(const DatabaseState& db, const TableDef& table,
                                              std::size_t column) {
    const std::string where =
        named("column", table.columns[column].name) + " of " + named("table", table.name);
    const ComplexColumnRow row = complexColumnRow(db, table.placements[column].complexId, where);
    const CatalogEntry* typeEntry = tableWithId(db, row.typeTable);
    const CatalogEntry* flatEntry = tableWithId(db, row.flatTable);
    if (!typeEntry || !flatEntry)
        throwCorrupt("the tables that hold the values of " + where + " are missing");
    const TableDef typeTable = definitionOf(db, *typeEntry);
    const TableDef flat = definitionOf(db, *flatEntry);

    ComplexColumnValues out;
    out.kind_ = kindOf(typeTable);
    const FlatColumns at = flatColumns(flat, typeTable, out.kind_);
    if (at.key < 0)
        throwCorrupt(named("table", flat.name) + ", which holds the values of " + where +
                     ", has no key column");
    if (out.kind_ != ComplexKind::Unknown && at.value < 0)
        out.kind_ = ComplexKind::Unknown;
    eachRow(db, flat, [&](const std::vector<Value>& values) {
        const std::int64_t key = integerOf(values[static_cast<std::size_t>(at.key)]);
        ComplexValue& value = out.byKey_[key];
        value.kind = out.kind_;
        value.key = key;
        const Value& v = values[static_cast<std::size_t>(std::max(at.value, 0))];
        switch (out.kind_) {
        case ComplexKind::MultipleValues:
            value.values.push_back(v);
            break;
        case ComplexKind::Attachments:
            value.attachments.push_back(
                {textOf(values, at.name), textOf(values, at.type),
                 v.is<Bytes>() ? attachmentBytes(v.as<Bytes>(), where) : Bytes()});
            break;
        case ComplexKind::VersionHistory: {
            const Value& saved = values[static_cast<std::size_t>(std::max(at.name, 0))];
            value.versions.push_back({textOf(values, at.value),
                                      saved.is<DateTime>() ? saved.as<DateTime>() : DateTime{}});
            break;
        }
        case ComplexKind::Unknown:
            break;
        }
    });
    return out;
}

ComplexValue ComplexColumnValues::valueOf(std::int64_t key) const {
    const auto found = byKey_.find(key);
    if (found != byKey_.end())
        return found->second;
    ComplexValue empty;
    empty.kind = kind_;
    empty.key = key;
    return empty;
}

} // namespace jet::detail
