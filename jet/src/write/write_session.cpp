// Appending rows. Each append first encodes and checks everything it will write, then changes
// pages: a refused row leaves the session as it was. The session holds only the pages it changed
// or added; nothing reaches the file before commit(), which replaces it whole, streaming the
// unchanged pages from the file read and the changed ones from memory.
#include "jet/write_session.h"

#include "check/integrity_check.h"
#include "file/atomic_replace.h"
#include "file/byte_writer.h"
#include "file/errors.h"
#include "jet/atomic_file.h"
#include "read/long_value.h"
#include "read/names.h"
#include "read/slot_table.h"
#include "read/state.h"
#include "read/usage_map.h"
#include "write/data_page.h"
#include "write/index_maintenance.h"
#include "write/long_value_writer.h"
#include "write/row_encoder.h"
#include "write/text_encoder.h"
#include "write/usage_map_editor.h"

#include <algorithm>
#include <map>
#include <random>

namespace jet {

using namespace detail;

namespace {

constexpr std::size_t kMaxCompressedMemoChars = 1024;

struct TableWriteState {
    TableDef def;
    RowShape shape;
    std::uint32_t rowCount = 0;
    std::uint32_t lastAutoNumber = 0;
    std::uint32_t currentPage = 0;                      // the data page last written, tried first
    std::map<std::uint16_t, LongValuePages> longValues; // by column number
    std::optional<IndexMaintenance> indexes;
};

} // namespace

struct WriteSessionState {
    std::shared_ptr<DatabaseState> db;
    std::map<std::uint32_t, TableWriteState> tables; // by definition page
    TableWriteState* lastTable = nullptr;            // the one the last row went to
    std::uint64_t appended = 0;
    bool dirty = false;      // appended since the last commit
    bool unfinished = false; // an append failed half-way: the pages are not to be trusted
    std::vector<KeyDifference> keyDifferences; // indexes that take no rows, as the check found

    PageAllocator allocator() {
        return [this](std::vector<std::uint8_t> page) {
            std::uint32_t number = db->pages.appendPage(page);
            UsageMapEditor(db->pages, *db->format, allocator(), kFreePageMapPointer, true)
                .remove(number);
            return number;
        };
    }

    TableWriteState& table(std::string_view name);
};

namespace {

// The bytes of a memo or OLE value before it is placed.
std::vector<std::uint8_t> longValueBytes(const ColumnLayout& c, const Value& v,
                                         std::uint16_t jet3CodePage) {
    if (c.type == ColumnType::Memo) {
        if (!v.is<std::string>())
            throw Error(ErrorKind::Invalid, named("column", c.name) + " (memo): needs text");
        const std::string& s = v.as<std::string>();
        if (jet3CodePage)
            return encodeCodePageText(s, jet3CodePage);
        bool compress = c.compressedUnicode() && utf16Length(s) <= kMaxCompressedMemoChars;
        return encodeJet4Text(s, compress);
    }
    if (!v.is<Bytes>())
        throw Error(ErrorKind::Invalid, named("column", c.name) + " (OLE): needs binary data");
    return v.as<Bytes>();
}

// The table's last data page that its free-space map still offers; 0 when there is none.
std::uint32_t lastPageWithFreeSpace(const PageStore& pages, const JetFormat& format,
                                    const TableDef& def) {
    const std::string owner = named("table", def.name);
    auto map = [&](std::uint32_t pointer) {
        return readUsageMap(
            pages, rowAtPointer(pages, format, pointer, "the usage map of " + owner), owner);
    };
    const std::vector<std::uint32_t> owned = map(def.ownedPagesMap);
    const std::vector<std::uint32_t> free = map(def.freePagesMap);
    for (auto it = owned.rbegin(); it != owned.rend(); ++it)
        if (std::binary_search(free.begin(), free.end(), *it) &&
            isDataPageOf(pages.page(*it), def.page))
            return *it;
    return 0;
}

// A column by name, ignoring case as Jet does. Callers nearly always spell it as the table
// does, which an exact comparison finds at a fraction of the cost.
int findColumn(const std::vector<Column>& columns, std::string_view name) {
    for (std::size_t i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return static_cast<int>(i);
    return columnPosition(columns, name);
}

Guid randomGuid() {
    static std::mt19937_64 engine{std::random_device{}()};
    Guid g;
    for (auto& b : g.bytes)
        b = static_cast<std::uint8_t>(engine());
    g.bytes[7] = static_cast<std::uint8_t>((g.bytes[7] & 0x0f) | 0x40); // version 4
    g.bytes[8] = static_cast<std::uint8_t>((g.bytes[8] & 0x3f) | 0x80);
    return g;
}

// Complex fields live in hidden tables and calculated ones hold an expression's result: a row of
// a table with either is refused, whatever it gives, rather than written incomplete.
void refuseUnwritableColumns(const TableDef& def) {
    for (const Column& c : def.columns)
        if (c.type == ColumnType::Complex || c.calculated)
            throw Error(ErrorKind::NotSupported,
                        named("column", c.name) + " of " + named("table", def.name) + " is " +
                            (c.calculated ? "calculated"
                                          : "complex (attachments, multiple values or a memo's "
                                            "history)") +
                            ", which Access 2007 or later keeps and this program cannot write");
}

// Each value to its column, found by name.
std::vector<Value> rowOfValues(const TableWriteState& t, const RowValues& values) {
    std::vector<Value> row(t.shape.columns.size());
    std::vector<bool> given(row.size(), false);
    for (const auto& [name, value] : values) {
        const int position = findColumn(t.def.columns, name);
        if (position < 0)
            throw Error(ErrorKind::NotFound,
                        "no " + named("column", name) + " in " + named("table", t.def.name));
        const auto i = static_cast<std::size_t>(position);
        if (given[i])
            throw Error(ErrorKind::Invalid, named("column", name) + " is given twice for " +
                                                named("table", t.def.name));
        given[i] = true;
        row[i] = value;
    }
    return row;
}

// Autonumbers: a given value is kept, a missing one takes the next number. Returns the table's
// last autonumber once the row is in.
std::uint32_t numberRow(const TableWriteState& t, std::vector<Value>& row) {
    std::uint32_t lastAutoNumber = t.lastAutoNumber;
    for (std::size_t i = 0; i < row.size(); ++i) {
        const ColumnLayout& c = t.shape.columns[i];
        if ((c.flags & kColumnAutoLong) && c.type == ColumnType::Long) {
            if (row[i].isNull()) {
                if (lastAutoNumber == 0x7fffffff)
                    throw Error(ErrorKind::Invalid,
                                named("table", t.def.name) + " has run out of autonumbers");
                row[i] = std::int64_t{++lastAutoNumber};
            } else if (row[i].is<std::int64_t>() && row[i].as<std::int64_t>() > lastAutoNumber &&
                       row[i].as<std::int64_t>() <= 0x7fffffff) {
                lastAutoNumber = static_cast<std::uint32_t>(row[i].as<std::int64_t>());
            }
        } else if ((c.flags & kColumnAutoGuid) && c.type == ColumnType::Guid && row[i].isNull()) {
            row[i] = randomGuid();
        }
    }
    return lastAutoNumber;
}

// A row encoded and checked before any page changes. Long values too long for the row wait in
// `longValues` for their pages; until then their fields hold an empty header.
struct EncodedRow {
    std::vector<FieldData> fields;
    std::vector<std::vector<std::uint8_t>> longValues; // by position
    std::vector<std::uint8_t> bytes;
};

std::vector<std::uint8_t> rowBytes(const DatabaseState& db, const RowShape& shape,
                                   const std::vector<FieldData>& fields) {
    return db.format->version == Version::Jet3 ? encodeJet3Row(shape, fields)
                                               : encodeJet4Row(shape, fields);
}

EncodedRow encodeRow(const DatabaseState& db, const RowShape& shape,
                     const std::vector<Value>& row) {
    const std::uint16_t codePage =
        db.format->version == Version::Jet3 ? db.textDecoder->codePage() : 0;
    EncodedRow out{
        std::vector<FieldData>(row.size()), std::vector<std::vector<std::uint8_t>>(row.size()), {}};
    for (std::size_t i = 0; i < row.size(); ++i) {
        const ColumnLayout& c = shape.columns[i];
        if (!isLongValue(c.type)) {
            out.fields[i] = encodeInlineField(c, row[i], codePage);
            continue;
        }
        if (row[i].isNull())
            continue;
        out.longValues[i] = longValueBytes(c, row[i], codePage);
        out.fields[i].isNull = false;
        out.fields[i].bytes = out.longValues[i].size() <= kMaxInlineLongValue
                                  ? inlineLongValue(out.longValues[i])
                                  : std::vector<std::uint8_t>(kLongValueHeaderSize, 0);
    }
    out.bytes = rowBytes(db, shape, out.fields); // checks the row's size
    return out;
}

// The long values too long for the row go to long-value pages, and the row names them.
void placeLongValues(DatabaseState& db, const PageAllocator& allocate, TableWriteState& t,
                     EncodedRow& row) {
    bool placed = false;
    for (std::size_t i = 0; i < row.fields.size(); ++i) {
        if (row.longValues[i].size() <= kMaxInlineLongValue)
            continue;
        LongValuePages& where = t.longValues[t.shape.columns[i].number];
        row.fields[i].bytes =
            storeLongValue(db.pages, *db.format, allocate, where, row.longValues[i]);
        placed = true;
    }
    if (placed)
        row.bytes = rowBytes(db, t.shape, row.fields);
}

// Rows go on the table's last page with room, as Jet places them; a page that cannot take the
// row leaves the free-space map and a new page follows it. Returns the row's page and slot.
std::pair<std::uint32_t, std::uint8_t> placeRow(PageStore& pages, const JetFormat& format,
                                                const PageAllocator& allocate, TableWriteState& t,
                                                const std::vector<std::uint8_t>& row) {
    std::optional<std::uint8_t> slot;
    std::uint32_t page =
        t.currentPage != 0 ? t.currentPage : lastPageWithFreeSpace(pages, format, t.def);
    if (page != 0) {
        slot = appendRowToDataPage(format, pages.mutablePage(page), row, page);
        if (!slot)
            UsageMapEditor(pages, format, allocate, t.def.freePagesMap).remove(page);
    }
    if (!slot) {
        page = allocate(newDataPage(format, t.def.page));
        UsageMapEditor(pages, format, allocate, t.def.ownedPagesMap).add(page);
        UsageMapEditor(pages, format, allocate, t.def.freePagesMap).add(page);
        slot = appendRowToDataPage(format, pages.mutablePage(page), row, page);
        if (!slot)
            throw Error(ErrorKind::Invalid,
                        "a row of " + named("table", t.def.name) + " does not fit an empty page");
    }
    t.currentPage = page;
    return {page, *slot};
}

} // namespace

TableWriteState& WriteSessionState::table(std::string_view name) {
    // Rows nearly always go to the table the row before went to, named the same way.
    if (lastTable && name == lastTable->def.name)
        return *lastTable;
    const CatalogEntry& entry = userTable(*db, name);
    const std::uint32_t page = entry.tableDefPage();
    auto found = tables.find(page);
    if (found != tables.end())
        return *(lastTable = &found->second);
    TableWriteState t;
    t.def = readUserTableDef(*db, entry);
    t.indexes.emplace(db->pages, *db->format, allocator(), t.def, *db->textDecoder,
                      db->header.sortOrder);
    for (const KeyDifference& d : keyDifferences)
        if (d.tablePage == page)
            t.indexes->refuseAdding(d.indexRoot, d.what);
    t.shape = rowShapeOf(t.def);
    t.rowCount = t.def.storedRowCount;
    t.lastAutoNumber = t.def.lastAutoNumber;
    for (const auto& lv : t.def.longValueMaps)
        t.longValues[lv.column] = {lv.ownedMap, lv.freeMap, 0};
    return *(lastTable = &tables.emplace(page, std::move(t)).first->second);
}

WriteSession::WriteSession(std::shared_ptr<WriteSessionState> state) : state_(std::move(state)) {}

namespace {

// Appending relies on the catalogue, the table definitions, the usage maps and the row counts:
// a file whose structures are not sound is refused rather than made worse. Gives the indexes
// whose keys this engine computes otherwise.
std::vector<KeyDifference> requireSound(const DatabaseState& db) {
    CheckReport report = checkLoadedDatabase(db);
    const std::vector<std::string>& faults = report.faults;
    if (faults.empty())
        return std::move(report.keyDifferences);
    std::string message = db.path.string() + " is damaged and was not changed: " + faults.front();
    if (faults.size() > 1)
        message += " (and " + std::to_string(faults.size() - 1) + " more faults)";
    throw Error(ErrorKind::Corrupt, message);
}

// The commit replaces only the file this session read.
void requireUnchanged(const DatabaseState& db) {
    if (identityOf(db.path) != db.identity)
        throw Error(ErrorKind::Io, db.path.string() +
                                       " was changed by another program since it was read; "
                                       "nothing was written");
}

// The file as it is to be stored: the pages the session did not change come from the file it
// read, the others from memory.
std::function<void(const ContentsWriter&)> streamPages(const DatabaseState& db) {
    return [&db](const ContentsWriter& write) { db.pages.writeFile(write); };
}

} // namespace

WriteSession WriteSession::open(const std::filesystem::path& path, std::string_view password) {
    auto state = std::make_shared<WriteSessionState>();
    state->db = DatabaseAccess::state(Database::open(path, password));
    state->keyDifferences = requireSound(*state->db);
    return WriteSession(std::move(state));
}

Database WriteSession::database() const {
    return DatabaseAccess::make(state_->db);
}

std::uint64_t WriteSession::appendedRows() const {
    return state_->appended;
}

void WriteSession::appendRow(std::string_view tableName, const RowValues& values) {
    WriteSessionState& s = *state_;
    if (s.unfinished)
        throw Error(ErrorKind::Invalid, "an earlier append failed half-way; reopen the file");
    TableWriteState& t = s.table(tableName);
    refuseUnwritableColumns(t.def);
    std::vector<Value> row = rowOfValues(t, values);
    const std::uint32_t lastAutoNumber = numberRow(t, row);
    // Everything is encoded and checked, keys and relationships too, before a page changes.
    EncodedRow encoded = encodeRow(*s.db, t.shape, row);
    const IndexMaintenance::Keys indexKeys = t.indexes->prepare(row);

    // From here on pages change.
    s.unfinished = true;
    const PageAllocator allocate = s.allocator();
    placeLongValues(*s.db, allocate, t, encoded);
    const auto [page, slot] = placeRow(s.db->pages, *s.db->format, allocate, t, encoded.bytes);
    t.indexes->insert(indexKeys, page, slot);
    ++t.rowCount;
    t.lastAutoNumber = lastAutoNumber;
    std::span<std::uint8_t> tdef = s.db->pages.mutablePage(t.def.page);
    putLe32(tdef, s.db->format->tdefRowCount, t.rowCount);
    putLe32(tdef, s.db->format->tdefRowCount + 4, t.lastAutoNumber);
    s.unfinished = false;
    s.dirty = true;
    ++s.appended;
}

void WriteSession::commit() {
    WriteSessionState& s = *state_;
    if (s.unfinished)
        throw Error(ErrorKind::Invalid,
                    "an append failed half-way; nothing was written to " + s.db->path.string());
    if (!s.dirty)
        return;
    // Tested first to refuse early, and again right before the rename: the caller's write lock
    // keeps other writers of this program away, but not other programs.
    requireUnchanged(*s.db);
    // Once the new file is in place it is this session's own, for its next commit.
    std::optional<FileIdentity> written;
    try {
        detail::replaceFileAtomically(s.db->path, streamPages(*s.db), written,
                                      [&] { requireUnchanged(*s.db); });
    } catch (const Error&) {
        if (written)
            s.db->identity = *written;
        throw;
    }
    s.db->identity = written.value_or(FileIdentity{});
    s.dirty = false;
}

void WriteSession::commitAs(const std::filesystem::path& target) {
    WriteSessionState& s = *state_;
    if (s.unfinished)
        throw Error(ErrorKind::Invalid,
                    "an append failed half-way; nothing was written to " + target.string());
    replaceFileAtomically(target, streamPages(*s.db));
}

} // namespace jet
