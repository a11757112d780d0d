#include "augurlex-dict/page_text.h"

#include "text/printable_text.h"

#include <cstdio>

namespace dict {

namespace {

template <class... Numbers> std::string formatted(const char* pattern, Numbers... numbers) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, numbers...);
    return text;
}

// A number right-aligned in `width` columns; cheaper than formatted() in lines that repeat.
std::string padded(std::uint64_t number, std::size_t width) {
    std::string text = std::to_string(number);
    return std::string(width > text.size() ? width - text.size() : 0, ' ') + text;
}

void putHexByte(std::string& out, std::uint8_t byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xf];
}

std::string quoted(const std::string& name) {
    return "\"" + text::printableText(name) + "\"";
}

std::string rowPointer(std::uint32_t page, std::uint32_t row) {
    return std::to_string(page) + ":" + std::to_string(row);
}
std::string rowPointer(std::uint32_t pointer) {
    return rowPointer(pointer >> 8, pointer & 0xff);
}

std::string kindText(const jet::PageReport& page) {
    if (page.kind == jet::PageKind::Unknown)
        return formatted("unknown 0x%02x", page.typeByte);
    return jet::pageKindName(page.kind);
}

std::string ownerText(const jet::PageReport& page) {
    if (!page.owner.empty())
        return text::printableText(page.owner);
    return page.ownerPage == 0 ? "-" : formatted("(page %u)", page.ownerPage);
}

// The page's first fault, or its first row's; empty when it has none.
std::string firstFault(const jet::PageReport& page) {
    if (!page.faults.empty())
        return page.faults.front();
    for (const jet::RowSlotReport& row : page.rows)
        if (!row.fault.empty())
            return row.fault;
    return {};
}

// A map row of type 1 lists map pages; a usage map page holds the bits.
void describeUsageMap(std::string& out, const jet::UsageMapReport& map, bool row,
                      const char* indent) {
    out += indent;
    out += "Usage map";
    if (!map.what.empty())
        out += " of " + text::printableText(map.what);
    out += map.type == 0 ? ": inline" : ": reference";
    if (row && map.type != 0) {
        std::vector<std::uint64_t> listed;
        for (std::uint32_t page : map.mapPages)
            if (page != 0)
                listed.push_back(page);
        out += ", map pages " + (listed.empty() ? std::string("none") : numberRanges(listed));
        out += '\n';
        return;
    }
    out += map.firstPage ? ", first page " + std::to_string(*map.firstPage)
                         : std::string(", first page unknown (bit numbers follow)");
    out += ", pages set: " + (map.pages.empty() ? std::string("none") : numberRanges(map.pages));
    out += '\n';
}

void describeRows(std::string& out, const jet::PageReport& page) {
    out += "Rows: " + std::to_string(page.rowCount) + "\n";
    if (page.rows.empty())
        return;
    out += "  slot  offset  length  flags\n";
    for (const jet::RowSlotReport& row : page.rows) {
        std::string flags;
        auto flag = [&](const std::string& text) { flags += (flags.empty() ? "  " : ", ") + text; };
        if (row.deleted)
            flag("deleted");
        if (row.moved)
            flag("moved" + (row.movedTo ? " to row " + rowPointer(*row.movedTo) : ""));
        if (row.overflow)
            flag("overflow");
        if (!row.fault.empty())
            flag("fault: " + text::printableText(row.fault));
        out += "  " + padded(row.slot, 4) + "  " + padded(row.offset, 6) + "  " +
               padded(row.length, 6) + flags + "\n";
        if (row.usageMap)
            describeUsageMap(out, *row.usageMap, true, "        ");
    }
}

void describeIndex(std::string& out, const jet::IndexPageReport& index) {
    out += formatted("Previous page: %u\nNext page: %u\nTail page: %u\n", index.previousPage,
                     index.nextPage, index.tailPage);
    out += "Shared prefix: " + std::to_string(index.prefixLength) + " bytes\n";
    out += "Entries: " + std::to_string(index.entries.size()) + "\n";
    for (std::size_t i = 0; i < index.entries.size(); ++i) {
        const jet::IndexEntryReport& entry = index.entries[i];
        out += "  " + padded(i, 4) + " ";
        for (std::uint8_t byte : entry.key) {
            out += ' ';
            putHexByte(out, byte);
        }
        out += "  -> row " + rowPointer(entry.rowPage, entry.row);
        if (entry.childPage)
            out += ", child page " + std::to_string(*entry.childPage);
        out += '\n';
    }
}

void describeTable(std::string& out, const jet::PageReport& page) {
    const jet::TableDefinitionReport& table = *page.tableDefinition;
    out += "Next page: " + std::to_string(table.nextPage) + "\n";
    if (page.ownerPage == 0)
        out += "No table of the catalogue uses this definition\n";
    if (!table.startsTable)
        return;
    out += formatted("Table type: 0x%02x", table.tableType);
    out += table.tableType == 0x4e ? " (user)\n" : table.tableType == 0x53 ? " (system)\n" : "\n";
    out += "Stored rows: " + std::to_string(table.storedRowCount) + "\n";
    out += "Owned pages map: row " + rowPointer(table.ownedPagesMap) + "\n";
    out += "Free space map: row " + rowPointer(table.freePagesMap) + "\n";
    out += "Columns: " + std::to_string(table.columns.size()) + "\n";
    for (const jet::Column& column : table.columns)
        out += formatted("  %4u  %-9s %5u  ", column.number, jet::columnTypeName(column.type),
                         column.length) +
               quoted(column.name) + "\n";
    out += "Indexes: " + std::to_string(table.indexes.size()) + "\n";
    for (const jet::Index& index : table.indexes) {
        out += "  " + quoted(index.name) + " root page " + std::to_string(index.firstPage) + ", on";
        for (const jet::IndexColumn& column : index.columns)
            out += " " +
                   (column.column < table.columns.size() ? quoted(table.columns[column.column].name)
                                                         : std::to_string(column.column)) +
                   (column.ascending ? "" : " (descending)");
        out += index.primaryKey ? ", primary key" : index.unique ? ", unique" : "";
        out += "\n";
    }
    for (const jet::LongValueMapsReport& maps : table.longValueMaps)
        out += "Long values of " + quoted(maps.column) + ": owned pages map row " +
               rowPointer(maps.ownedPagesMap) + ", free space map row " +
               rowPointer(maps.freePagesMap) + "\n";
}

void describeHeader(std::string& out, const jet::HeaderReport& header) {
    out += std::string("Format: ") + jet::versionName(header.version) + "\n";
    out += "Code page: " + std::to_string(header.codePage) + "\n";
    out += "Sort order: " + std::to_string(header.sortOrder) + "\n";
    out += header.encodingKey == 0 ? std::string("Page encoding: none\n")
                                   : formatted("Page encoding: key 0x%08x\n", header.encodingKey);
    out += header.hasPassword ? "Password: yes\n" : "Password: no\n";
}

} // namespace

const char* const kPageListHeading = "  page  kind              free  owner\n";

std::string pageLine(const jet::PageReport& page) {
    std::string line =
        formatted("%6u  %-16s", page.number, kindText(page).c_str()) +
        (page.freeBytes ? formatted("%6u", *page.freeBytes) : std::string("     -")) + "  " +
        ownerText(page);
    // A free page holds whatever was left there: not damage.
    if (page.listedFree)
        line += "  [listed free]";
    else if (const std::string fault = firstFault(page); !fault.empty())
        line += "  [damaged: " + text::printableText(fault) + "]";
    return line + "\n";
}

std::string pageDescription(const jet::PageReport& page, std::uint32_t pageCount,
                            std::uint32_t pageSize) {
    std::string out = formatted("Page %u of %u, %u bytes\n", page.number, pageCount, pageSize);
    out += "Kind: " + kindText(page);
    out += page.kind == jet::PageKind::Header ? "\n" : formatted(" (type 0x%02x)\n", page.typeByte);
    if (!page.owner.empty())
        out += "Table: " + quoted(page.owner) + " (definition at page " +
               std::to_string(page.ownerPage) + ")\n";
    else if (page.ownerPage != 0)
        out += "Table: at page " + std::to_string(page.ownerPage) + ", none the catalogue lists\n";
    if (page.freeBytes)
        out += "Free bytes: " + std::to_string(*page.freeBytes) + "\n";
    if (page.listedFree)
        out += "Listed in the map of free pages\n";
    if (page.header)
        describeHeader(out, *page.header);
    if (page.tableDefinition)
        describeTable(out, page);
    if (page.kind == jet::PageKind::Data || page.kind == jet::PageKind::LongValue)
        describeRows(out, page);
    if (page.index)
        describeIndex(out, *page.index);
    if (page.usageMap)
        describeUsageMap(out, *page.usageMap, false, "");
    for (const std::string& fault : page.faults)
        out += "Fault: " + text::printableText(fault) + "\n";
    return out;
}

std::string numberRanges(const std::vector<std::uint64_t>& numbers) {
    std::string out;
    for (std::size_t i = 0; i < numbers.size();) {
        std::size_t end = i;
        while (end + 1 < numbers.size() && numbers[end + 1] == numbers[end] + 1)
            ++end;
        if (!out.empty())
            out += ", ";
        out += std::to_string(numbers[i]);
        if (end > i)
            out += "-" + std::to_string(numbers[end]);
        i = end + 1;
    }
    return out;
}

} // namespace dict
