// A look inside a database file, page by page: what each page is, which table it belongs to, its
// free space, and its structure as the engine's own readers decode it (header fields, row slots,
// index entries, usage-map bits). Made for damaged files: every number read from a page is
// checked before use, and a page that cannot be decoded is still described, with what is wrong
// with it, instead of raising an error.
//
//   jet::PageReporter file = jet::PageReporter::open("words.mdb");
//   for (std::uint32_t n = 0; n < file.pageCount(); ++n) show(file.report(n));
#pragma once

#include "jet/database.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace jet {

enum class PageKind {
    Header,          // page 0
    Data,            // rows of a table (type 0x01)
    LongValue,       // rows of memo and OLE values (type 0x01 marked "LVAL")
    TableDefinition, // type 0x02
    IndexNode,       // type 0x03
    IndexLeaf,       // type 0x04
    UsageMap,        // bits of a reference usage map (type 0x05)
    Unknown,         // any other type byte (Access leaves some; free pages may hold anything)
};
// "data", "long value", "table definition", "index node", …
const char* pageKindName(PageKind kind);

struct HeaderReport {
    Version version = Version::Jet4;
    std::uint16_t codePage = 0;    // as stored; 0 when absent
    std::uint32_t sortOrder = 0;   // a Windows locale id
    std::uint32_t encodingKey = 0; // non-zero: pages 1 and up are RC4-encoded
    bool hasPassword = false;      // the password itself is never reported
};

// The pages a usage map marks.
struct UsageMapReport {
    std::string what;      // whose map it is, when the catalogue tells it; empty otherwise
    std::uint8_t type = 0; // 0: the bits follow inline; 1: a list of usage map pages
    // The page the first bit stands for; unknown for a map page that no map lists.
    std::optional<std::uint32_t> firstPage;
    std::vector<std::uint32_t> mapPages; // type 1: the map pages listed (0 where none)
    // The pages whose bits are set, ascending (bit numbers when firstPage is unknown); they may
    // lie past the end of a damaged file.
    std::vector<std::uint64_t> pages;
};

struct RowSlotReport {
    std::uint16_t slot = 0;
    std::uint16_t offset = 0; // where the row starts on the page
    std::uint16_t length = 0; // 0 for a deleted row and one whose bounds are bad
    bool deleted = false;
    bool moved = false;                     // its bytes point to where the row now lives
    bool overflow = false;                  // the moved copy of a row whose slot is elsewhere
    std::optional<std::uint32_t> movedTo;   // a moved row's pointer: page << 8 | row
    std::optional<UsageMapReport> usageMap; // a row the catalogue's tables name as a usage map
    std::string fault;                      // empty when the slot is sound
};

struct IndexEntryReport {
    std::vector<std::uint8_t> key; // the page's shared prefix restored
    std::uint32_t rowPage = 0;
    std::uint8_t row = 0;
    std::optional<std::uint32_t> childPage; // node entries
};

struct IndexPageReport {
    std::uint32_t previousPage = 0;
    std::uint32_t nextPage = 0;
    std::uint32_t tailPage = 0;
    std::size_t prefixLength = 0;
    std::vector<IndexEntryReport> entries; // up to the damage, on a damaged page
};

struct LongValueMapsReport {
    std::string column;
    std::uint32_t ownedPagesMap = 0; // row pointers
    std::uint32_t freePagesMap = 0;
};

struct TableDefinitionReport {
    std::uint32_t nextPage = 0; // the page the definition continues on; 0 for none
    // The first page of a table's definition: the table as decoded from it and the pages it
    // continues on (nothing when that fails; the page's faults say why).
    bool startsTable = false;
    std::uint32_t storedRowCount = 0;
    std::uint8_t tableType = 0; // 0x4e user, 0x53 system
    std::vector<Column> columns;
    std::vector<Index> indexes;
    std::uint32_t ownedPagesMap = 0; // row pointers
    std::uint32_t freePagesMap = 0;
    std::vector<LongValueMapsReport> longValueMaps;
};

struct PageReport {
    std::uint32_t number = 0;
    PageKind kind = PageKind::Unknown;
    std::uint8_t typeByte = 0;
    // The first definition page of the table the page belongs to, and its name when the
    // catalogue gives it; 0 and empty when the page belongs to none that is known.
    std::uint32_t ownerPage = 0;
    std::string owner;
    std::optional<std::uint16_t> freeBytes; // as the page records them
    bool listedFree = false;                // the database's map of free pages lists it
    std::vector<std::string> faults;        // what keeps the page from being decoded whole

    std::optional<HeaderReport> header;                   // page 0
    std::optional<TableDefinitionReport> tableDefinition; // definition pages
    std::uint16_t rowCount = 0;                           // data and long-value pages (0
    std::vector<RowSlotReport> rows;                      //   when the count does not fit)
    std::optional<IndexPageReport> index;                 // index pages
    std::optional<UsageMapReport> usageMap;               // usage map pages
};

class PageReporter {
public:
    // Opens as Database::open does (same errors for a missing file, a file that is no database,
    // a wrong password), but also a file whose catalogue cannot be read.
    static PageReporter open(const std::filesystem::path& path, std::string_view password = {},
                             const OpenOptions& options = {});

    std::uint32_t pageSize() const;
    std::uint32_t pageCount() const;
    // What could not be read of the catalogue and the tables it lists, which name the owners of
    // pages; empty when everything could.
    const std::vector<std::string>& catalogueFaults() const;

    // One page. Nothing a page holds raises an error; ErrorKind Invalid for a page past the end,
    // Io when the file was cut short while it was read.
    PageReport report(std::uint32_t page) const;

private:
    struct State;
    explicit PageReporter(std::shared_ptr<const State> state);
    std::shared_ptr<const State> state_;
};

} // namespace jet
