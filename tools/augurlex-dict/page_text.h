// The text forms of the engine's page reports for `pages` and `page`: one line a page, and one
// page laid out in full. Names and reasons are escaped (text::printableText), so no name can split
// a line.
#pragma once

#include "jet/page_report.h"

#include <cstdint>
#include <string>
#include <vector>

namespace dict {

// The heading of the lines below.
extern const char* const kPageListHeading;
// Number, kind, free bytes, owner, then "[listed free]" and "[damaged: …]" when they apply.
std::string pageLine(const jet::PageReport& page);
// Every field of the page and its structure, many lines.
std::string pageDescription(const jet::PageReport& page, std::uint32_t pageCount,
                            std::uint32_t pageSize);
// Ascending numbers with runs condensed: "3-5, 9".
std::string numberRanges(const std::vector<std::uint64_t>& numbers);

} // namespace dict
