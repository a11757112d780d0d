// Every byte of a table definition, every byte of the usage maps and every bit of the map of free
// pages of a small indexed dictionary, changed in turn: each change must be reported by the check,
// or leave what the engine reads exactly as it was (every row, every index entry, the pages the
// file's structures reach). A change that passes the check and changes what is read is damage a
// writer would build on.
#include "check/integrity_check.h"
#include "jet/check.h"
#include "jet/write_session.h"
#include "read/index_pages_read.h"
#include "read/slot_table.h"
#include "read/state.h"
#include "read/usage_map.h"
#include "support.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

namespace jet::test {
namespace {

// The file: one dictionary table with a primary key and a two-column index over two index levels,
// short links inline and long ones on long-value pages.
std::filesystem::path makeIndexedDictionary(ScratchDir& dir) {
    TableSpec table = kDictionary.front();
    table.indexes = {{{"Key"}, true, true}, {{"names", "Key"}}};
    const auto path = dir.path / "indexed.mdb";
    createDatabase(path, {table}, {.password = "", .creationTime = 40000.0});
    WriteSession session = WriteSession::open(path);
    const char* names[] = {"tarot", "omens", "runes"};
    // Long keys fill a leaf in few rows, and the check of each change stays quick.
    for (int i = 0; i < 60; ++i) {
        const std::string key = "key " + std::to_string(1000 + i) + std::string(200, 'k');
        const std::string link =
            i % 6 == 0 ? std::string(2500 + i, 'l') : "https://example.org/" + std::to_string(i);
        session.appendRow("data",
                          {{"names", std::string(names[i % 3])}, {"Key", key}, {"Link", link}});
    }
    session.commit();
    return path;
}

// What the engine reads from a file, as lines of text.
std::vector<std::string> reading(const Database& db) {
    std::vector<std::string> out;
    const DatabaseState& state = *detail::DatabaseAccess::state(db);
    for (const std::string& name : db.tableNames()) {
        const Table table = db.table(name);
        out.push_back("table " + std::to_string(table.storedRowCount()));
        for (const Column& column : table.columns())
            out.push_back("column " + std::to_string(static_cast<int>(column.type)));
        Cursor cursor = table.cursor();
        for (bool more = cursor.moveFirst(); more; more = cursor.moveNext()) {
            std::string row = "row";
            for (std::size_t i = 0; i < table.columns().size(); ++i) {
                const Value value = cursor.value(i);
                row += " " + std::to_string(value.storage().index()) + ":" + toText(value);
            }
            out.push_back(row);
        }
        const detail::TableDef def =
            detail::readUserTableDef(state, detail::userTable(state, name));
        for (const Index& index : table.indexes()) {
            std::string line = "index " + std::to_string(index.firstPage);
            for (const IndexColumn& column : index.columns)
                line += " " + std::to_string(column.column) + (column.ascending ? "+" : "-");
            out.push_back(line);
            for (const detail::LeafEntry& entry :
                 detail::readIndexEntries(state.pages, *state.format, index.firstPage, def.page))
                out.push_back(std::string(entry.key.begin(), entry.key.end()) + " " +
                              std::to_string(entry.rowPage) + ":" + std::to_string(entry.rowSlot));
        }
    }
    const detail::CheckReport check = detail::checkLoadedDatabase(state);
    std::string reached = "pages";
    for (std::size_t page = 0; page < check.inUse.size(); ++page)
        if (check.inUse[page])
            reached += " " + std::to_string(page);
    out.push_back(reached);
    return out;
}

class Sweep {
public:
    explicit Sweep(const std::filesystem::path& path)
        : path_(path), original_(readBytes(path)), fd_(::open(path.c_str(), O_WRONLY)) {
        const Database db = Database::open(path);
        sound_ = reading(db);
    }
    ~Sweep() { ::close(fd_); }

    // Sets byte `at` to `value`, sees whether the check or the reading notices, and puts the
    // byte back.
    void tryByte(std::size_t at, std::uint8_t value, const std::string& what) {
        if (value == original_[at])
            return;
        put(at, value);
        ++tried_;
        if (!reported() && !readsAsBefore())
            ADD_FAILURE() << what << ": byte " << at << " (page " << at / 4096 << ", offset "
                          << at % 4096 << ") changed from " << int(original_[at]) << " to "
                          << int(value) << " changes what is read, and the check passes it";
        put(at, original_[at]);
    }
    std::uint8_t original(std::size_t at) const { return original_[at]; }
    std::size_t tried() const { return tried_; }

private:
    void put(std::size_t at, std::uint8_t value) {
        ASSERT_EQ(::pwrite(fd_, &value, 1, static_cast<off_t>(at)), 1);
    }
    bool reported() const {
        try {
            return !checkDatabase(path_).empty();
        } catch (const Error&) {
            return true; // too damaged to open is a finding too
        }
    }
    bool readsAsBefore() const {
        try {
            return reading(Database::open(path_)) == sound_;
        } catch (const Error&) {
            return false;
        }
    }

    std::filesystem::path path_;
    std::vector<std::uint8_t> original_;
    int fd_;
    std::vector<std::string> sound_;
    std::size_t tried_ = 0;
};

// Each byte takes these values in turn: neighbouring numbers, a high bit, every bit.
void tryEveryChange(Sweep& sweep, std::size_t at, const std::string& what) {
    const std::uint8_t was = sweep.original(at);
    for (std::uint8_t mask : {0x01, 0x02, 0x04, 0x80, 0xff})
        sweep.tryByte(at, static_cast<std::uint8_t>(was ^ mask), what);
}

TEST(DefinitionSweep, EveryChangeIsReportedOrChangesNothingRead) {
    ScratchDir dir;
    const auto path = makeIndexedDictionary(dir);
    ASSERT_EQ(checkDatabase(path), std::vector<std::string>{});
    const Anatomy file(path);
    const detail::TableDef def = file.tableDef("data");
    ASSERT_EQ(def.realIndexes.size(), 2u);
    ASSERT_EQ(def.longValueMaps.size(), 1u);
    const std::size_t pageSize = file.format.pageSize;
    std::size_t nodes = 0; // index pages above the leaves
    for (std::size_t at = 0; at < file.bytes.size(); at += pageSize)
        nodes += file.bytes[at] == static_cast<std::uint8_t>(detail::PageType::IndexNode);
    ASSERT_GE(nodes, 2u);
    const std::vector<std::uint32_t> chain = detail::tableDefPages(file.pages, def.page, "data");
    ASSERT_EQ(chain.size(), 1u);
    Sweep sweep(path);

    // The definition up to a little past its last byte in use.
    std::size_t used = pageSize;
    while (used > 8 && file.bytes[file.at(def.page, used - 1)] == 0)
        --used;
    for (std::size_t offset = 0; offset < std::min(pageSize, used + 16); ++offset)
        tryEveryChange(sweep, file.at(def.page, offset), "the table definition");

    // Every usage map row the file holds, its map pages too.
    std::vector<std::uint32_t> maps = {detail::kFreePageMapPointer, def.ownedPagesMap,
                                       def.freePagesMap};
    for (const detail::RealIndex& index : def.realIndexes)
        maps.push_back(index.usageMap);
    for (const detail::LongValueMapRef& lv : def.longValueMaps)
        maps.insert(maps.end(), {lv.ownedMap, lv.freeMap});
    for (std::uint32_t pointer : maps) {
        const std::size_t start = file.rowOffset(pointer);
        const detail::ByteSpan row = detail::rowAtPointer(file.pages, file.format, pointer, "map");
        const bool freePages = pointer == detail::kFreePageMapPointer;
        for (std::size_t i = 0; i < row.size(); ++i) {
            if (!freePages || i < detail::kInlineMapHeaderSize) {
                tryEveryChange(sweep, start + i, "a usage map");
                continue;
            }
            // The map of free pages bit by bit, for the pages of the file and a few past it.
            if ((i - detail::kInlineMapHeaderSize) * 8 > file.db.pageCount() + 8)
                continue;
            for (int bit = 0; bit < 8; ++bit)
                sweep.tryByte(start + i,
                              static_cast<std::uint8_t>(sweep.original(start + i) ^ (1u << bit)),
                              "the map of free pages");
        }
    }
    std::cout << "changes tried: " << sweep.tried() << "\n";
}

} // namespace
} // namespace jet::test
