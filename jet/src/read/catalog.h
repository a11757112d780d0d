// The system catalogue (MSysObjects, whose definition is always at page 2): every object of
// the database with its kind and flags.
#pragma once

#include "file/format.h"
#include "file/page_source.h"
#include "read/code_page.h"

#include <cstdint>
#include <string>
#include <vector>

namespace jet::detail {

inline constexpr std::uint32_t kCatalogPage = 2;
inline constexpr std::int32_t kObjectTable = 1;
inline constexpr std::uint32_t kSystemObjectFlags = 0x80000002u;
inline constexpr std::uint32_t kObjectIdPageMask = 0x00ffffff;

struct CatalogEntry {
    std::string name;
    std::int32_t id = 0;
    std::int32_t type = 0;
    std::uint32_t flags = 0;

    // For tables: the first page of the table definition.
    std::uint32_t tableDefPage() const {
        return static_cast<std::uint32_t>(id) & kObjectIdPageMask;
    }
    bool isUserTable() const { return type == kObjectTable && (flags & kSystemObjectFlags) == 0; }
};

// All live catalogue rows in file order.
std::vector<CatalogEntry> readCatalog(const PageStore& pages, const JetFormat& format,
                                      const CodePageDecoder& decoder);

} // namespace jet::detail
