#include "read/table_def.h"

#include "file/errors.h"
#include "read/text_decoder.h"

namespace jet::detail {

namespace {

constexpr std::size_t kTdefHeaderSize = 8;
// Jet 4 column entries: a text column's sort order.
constexpr std::size_t kColumnSortCode = 11;
constexpr std::size_t kColumnSortVersion = 14;
// ACE column entries: a complex column's id where a text column keeps its sort order.
constexpr std::size_t kColumnComplexId = 11;
// A foreign-key index that no relationship backs names no related index.
constexpr std::uint32_t kNoRelatedIndex = 0xffffffffu;
constexpr std::uint8_t kPrimarySide = 1;

// Reads fields in order from the TDEF bytes, every read bounds-checked.
class TdefReader {
public:
    TdefReader(const std::vector<std::uint8_t>& bytes, const std::string& table)
        : bytes_(bytes), table_(table) {}

    void seek(std::size_t pos) { pos_ = pos; }
    std::size_t pos() const { return pos_; }
    const std::uint8_t* take(std::size_t n, const char* what) {
        if (!fits(bytes_.size(), pos_, n))
            throwCorrupt("the definition of " + named("table", table_) + " ends inside its " +
                         what);
        const std::uint8_t* p = bytes_.data() + pos_;
        pos_ += n;
        return p;
    }
    std::uint8_t u8(const char* what) { return *take(1, what); }
    std::uint16_t u16(const char* what) { return le16(take(2, what)); }
    std::uint32_t u32(const char* what) { return le32(take(4, what)); }
    // Checks that `count` entries of `size` bytes can follow, before anything is reserved.
    void expect(std::uint64_t count, std::size_t size, const char* what) {
        if (count * size > bytes_.size() - std::min(pos_, bytes_.size()))
            throwCorrupt(named("table", table_) + " claims " + std::to_string(count) + " " + what +
                         ", more than its definition holds");
    }
    std::string name(const JetFormat& format, const CodePageDecoder& decoder, const char* what) {
        const std::size_t length = format.nameLengthSize == 1 ? u8(what) : u16(what);
        ByteSpan bytes(take(length, what), length);
        std::string out;
        if (format.version == Version::Jet3)
            decoder.append(out, bytes);
        else
            appendUcs2(out, bytes);
        return out;
    }

private:
    const std::vector<std::uint8_t>& bytes_;
    const std::string& table_;
    std::size_t pos_ = 0;
};

void readColumns(TdefReader& in, const JetFormat& format, const CodePageDecoder& decoder,
                 std::uint16_t count, TableDef& def) {
    in.expect(count, format.columnEntrySize, "columns");
    def.columns.resize(count);
    def.placements.resize(count);
    for (std::uint16_t i = 0; i < count; ++i) {
        const std::uint8_t* e = in.take(format.columnEntrySize, "column list");
        Column& column = def.columns[i];
        ColumnPlacement& layout = def.placements[i];
        column.type = static_cast<ColumnType>(e[format.columnType]);
        column.number = le16(e + format.columnNumber);
        column.length = le16(e + format.columnLength);
        layout.varIndex = le16(e + format.columnVarIndex);
        layout.fixedOffset = le16(e + format.columnFixedOffset);
        layout.flags = e[format.columnFlags];
        if (format.columnCodePage)
            layout.codePage = le16(e + format.columnCodePage);
        column.fixedLength = (layout.flags & kColumnFixed) != 0;
        column.autoNumber = (layout.flags & kColumnAutoLong) != 0;
        if (format.columnExtFlags) {
            column.compressedUnicode =
                (e[format.columnExtFlags] & kColumnExtCompressedUnicode) != 0;
            column.calculated =
                format.aceColumns && (e[format.columnExtFlags] & kColumnExtCalculated);
        }
        if (format.aceColumns && column.type == ColumnType::Complex)
            layout.complexId = le32(e + kColumnComplexId);
        if (column.type == ColumnType::Numeric) {
            column.precision = e[format.columnPrecision];
            column.scale = e[format.columnScale];
        }
        if (format.version == Version::Jet4 &&
            (column.type == ColumnType::Text || column.type == ColumnType::Memo))
            layout.sortOrder = {le16(e + kColumnSortCode), e[kColumnSortVersion]};
    }
    for (auto& column : def.columns)
        column.name = in.name(format, decoder, "column names");
}

void readIndexes(TdefReader& in, const JetFormat& format, const CodePageDecoder& decoder,
                 std::uint32_t realCount, std::uint32_t logicalCount, TableDef& def) {
    in.expect(realCount, format.realIndexSize, "physical indexes");
    std::vector<RealIndex>& reals = def.realIndexes;
    reals.resize(realCount);
    for (auto& real : reals) {
        in.take(format.realIndexLead, "index list");
        for (std::size_t slot = 0; slot < kIndexColumnSlots; ++slot) {
            const std::uint16_t number = in.u16("index list");
            const std::uint8_t order = in.u8("index list");
            if (number == kNoColumn)
                continue;
            const int position = positionOfColumnNumber(def, number);
            if (position < 0)
                throwCorrupt("an index of " + named("table", def.name) + " names column number " +
                             std::to_string(number) + ", which the table does not have");
            real.columns.push_back({static_cast<std::uint16_t>(position), order == 1});
        }
        real.usageMap = in.u32("index list");
        real.root = in.u32("index list");
        // Jet 4 keeps four more bytes before the flags.
        const std::size_t beforeFlags = format.version == Version::Jet4 ? 4 : 0;
        in.take(beforeFlags, "index list");
        real.flags = in.u8("index list");
        in.take(format.realIndexSize - format.realIndexLead - kIndexColumnSlots * 3 - 9 -
                    beforeFlags,
                "index list");
    }

    in.expect(logicalCount, format.logicalIndexSize, "indexes");
    def.indexes.resize(logicalCount);
    def.logicalIndexes.resize(logicalCount);
    for (std::size_t i = 0; i < logicalCount; ++i) {
        Index& index = def.indexes[i];
        LogicalIndexFacts& facts = def.logicalIndexes[i];
        const std::size_t start = in.pos();
        in.take(format.logicalIndexLead, "index list");
        facts.number = in.u32("index list");
        facts.physical = in.u32("index list");
        const bool primarySide = in.u8("index list") == kPrimarySide;
        const std::uint32_t relatedIndex = in.u32("index list");
        const std::uint32_t relatedTablePage = in.u32("index list");
        in.take(2, "index list"); // cascading updates and deletes
        const std::uint8_t type = in.u8("index list");
        in.seek(start);
        in.take(format.logicalIndexSize, "index list");
        if (facts.physical >= reals.size())
            throwCorrupt("an index of " + named("table", def.name) + " uses physical index " +
                         std::to_string(facts.physical) + " of " + std::to_string(reals.size()));
        const RealIndex& real = reals[facts.physical];
        index.columns = real.columns;
        index.firstPage = real.root;
        index.primaryKey = type == kLogicalIndexPrimaryKey;
        index.foreignKey = type == kLogicalIndexForeignKey;
        index.unique = index.primaryKey || (real.flags & kIndexFlagUnique);
        index.ignoreNulls = (real.flags & kIndexFlagIgnoreNulls) != 0;
        if (index.foreignKey && relatedIndex != kNoRelatedIndex)
            facts = {{},          facts.number,     facts.physical, true,
                     primarySide, relatedTablePage, relatedIndex};
    }
    for (std::size_t i = 0; i < logicalCount; ++i)
        def.logicalIndexes[i].name = def.indexes[i].name = in.name(format, decoder, "index names");
}

// After the index names, newer definitions list the usage maps of each long-value column,
// ending with 0xffff. Older ones stop before; a list cut short is taken as absent.
void readLongValueMaps(TdefReader& in, std::size_t size, TableDef& def) {
    std::vector<LongValueMapRef> maps;
    while (in.pos() + 2 <= size) {
        const std::uint16_t column = in.u16("long-value maps");
        if (column == kNoColumn) {
            def.longValueMaps = std::move(maps);
            return;
        }
        if (in.pos() + 8 > size || maps.size() >= def.columns.size())
            return;
        const std::uint32_t owned = in.u32("long-value maps");
        const std::uint32_t free = in.u32("long-value maps");
        maps.push_back({column, owned, free});
    }
}

} // namespace

int positionOfColumnNumber(const TableDef& def, std::uint16_t number) {
    for (std::size_t i = 0; i < def.columns.size(); ++i)
        if (def.columns[i].number == number)
            return static_cast<int>(i);
    return -1;
}

std::size_t fixedSizeOf(ColumnType type) {
    switch (type) {
    case ColumnType::Byte:
        return 1;
    case ColumnType::Integer:
        return 2;
    case ColumnType::Long:
    case ColumnType::Single:
        return 4;
    case ColumnType::Complex:
        return 4;
    case ColumnType::Currency:
    case ColumnType::Double:
    case ColumnType::DateTime:
    case ColumnType::BigInt:
        return 8;
    case ColumnType::Guid:
        return 16;
    case ColumnType::Numeric:
        return 17;
    case ColumnType::ExtendedDateTime:
        return 42;
    default:
        return 0;
    }
}

std::optional<TextSortOrder> ColumnSortOrder::supported() const {
    if (code != kGeneralSortCode && code != 0)
        return std::nullopt;
    if (code == 0 || version == 0)
        return TextSortOrder::GeneralLegacy;
    if (version == 1)
        return TextSortOrder::General;
    return std::nullopt;
}

std::string ColumnSortOrder::name() const {
    if (code == kGeneralSortCode)
        return version == 0 ? "\"General\" (legacy)"
                            : "\"General\" (version " + std::to_string(version) + ")";
    return "with locale " + std::to_string(code) + " (version " + std::to_string(version) + ")";
}

std::vector<std::uint32_t> tableDefPages(const PageStore& pages, std::uint32_t firstPage,
                                         const std::string& tableName) {
    const auto tdefType = static_cast<std::uint8_t>(PageType::TableDefinition);
    std::uint32_t next = le32(pages.pageOfType(firstPage, tdefType, "a table definition").data() +
                              kTableDefNextPageOffset);
    std::vector<std::uint32_t> out{firstPage};
    std::vector<bool> visited(pages.pageCount());
    visited[firstPage] = true;
    while (next != 0) {
        if (next < visited.size() && visited[next])
            throwCorruptPage(next, "the definition of " + named("table", tableName) +
                                       " loops back to this page");
        ByteSpan page = pages.pageOfType(next, tdefType, "a continued table definition");
        visited[next] = true;
        out.push_back(next);
        next = le32(page.data() + kTableDefNextPageOffset);
    }
    return out;
}

std::vector<std::uint8_t> readTableDefBytes(const PageStore& pages, std::uint32_t firstPage,
                                            const std::string& tableName) {
    const std::vector<std::uint32_t> chain = tableDefPages(pages, firstPage, tableName);
    ByteSpan first = pages.page(firstPage);
    std::vector<std::uint8_t> bytes(first.begin(), first.end());
    for (std::size_t i = 1; i < chain.size(); ++i) {
        ByteSpan page = pages.page(chain[i]);
        bytes.insert(bytes.end(), page.begin() + kTdefHeaderSize, page.end());
    }
    return bytes;
}

TableDef readTableDef(const PageStore& pages, const JetFormat& format,
                      const CodePageDecoder& nameDecoder, std::uint32_t firstPage,
                      std::string tableName) {
    TableDef def;
    def.name = std::move(tableName);
    def.page = firstPage;
    const std::vector<std::uint8_t> bytes = readTableDefBytes(pages, firstPage, def.name);
    TdefReader in(bytes, def.name);

    in.seek(format.tdefRowCount);
    def.storedRowCount = in.u32("header");
    def.lastAutoNumber = in.u32("header");
    in.seek(format.tdefTableType);
    def.tableType = in.u8("header");
    def.maxColumns = in.u16("header");
    def.varColumnCount = in.u16("header");
    const std::uint16_t columnCount = in.u16("header");
    const std::uint32_t logicalIndexCount = in.u32("header");
    const std::uint32_t realIndexCount = in.u32("header");
    def.ownedPagesMap = in.u32("header");
    def.freePagesMap = in.u32("header");

    in.seek(format.tdefRealIndexStart);
    in.expect(realIndexCount, format.tdefRealIndexEntrySize, "physical indexes");
    in.take(std::size_t{realIndexCount} * format.tdefRealIndexEntrySize, "index counts");
    readColumns(in, format, nameDecoder, columnCount, def);
    readIndexes(in, format, nameDecoder, realIndexCount, logicalIndexCount, def);
    readLongValueMaps(in, bytes.size(), def);
    return def;
}

} // namespace jet::detail
