#include "read/catalog.h"

#include "file/errors.h"
#include "read/field_decode.h"
#include "read/names.h"
#include "read/row.h"
#include "read/table_def.h"
#include "read/table_scan.h"

namespace jet::detail {

namespace {

std::size_t requireColumn(const TableDef& def, std::string_view name) {
    const int position = columnPosition(def.columns, name);
    if (position >= 0)
        return static_cast<std::size_t>(position);
    throwCorruptPage(kCatalogPage, "the system catalogue has no " + named("column", name));
}

std::int64_t integerOr(const Value& v, std::int64_t fallback) {
    return v.is<std::int64_t>() ? v.as<std::int64_t>() : fallback;
}

} // namespace

std::vector<CatalogEntry> readCatalog(const PageStore& pages, const JetFormat& format,
                                      const CodePageDecoder& decoder) {
    const TableDef def = readTableDef(pages, format, decoder, kCatalogPage, "MSysObjects");
    const std::size_t idColumn = requireColumn(def, "Id");
    const std::size_t nameColumn = requireColumn(def, "Name");
    const std::size_t typeColumn = requireColumn(def, "Type");
    const std::size_t flagsColumn = requireColumn(def, "Flags");

    std::vector<std::uint8_t> scratch;
    const FieldContext context{pages, format, decoder, scratch};
    RowFrame rowScratch;
    std::vector<FieldRef> fields;
    std::vector<CatalogEntry> entries;
    TableScan scan(pages, format, def);
    auto field = [&](std::size_t column) {
        return decodeField(context, def.name, def.columns[column], fields[column], scan.rowPage());
    };
    while (scan.next()) {
        crackRow(format, def, scan.row(), scan.rowPage(), rowScratch, fields);
        CatalogEntry entry;
        const Value name = field(nameColumn);
        if (name.is<std::string>())
            entry.name = name.as<std::string>();
        entry.id = static_cast<std::int32_t>(integerOr(field(idColumn), 0));
        entry.type = static_cast<std::int32_t>(integerOr(field(typeColumn), 0));
        entry.flags = static_cast<std::uint32_t>(integerOr(field(flagsColumn), 0));
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace jet::detail
