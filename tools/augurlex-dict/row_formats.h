// Writing a table's rows as JSON lines or CSV.
//
// JSON lines: one object per row, keys in column order. Text as strings, whole numbers and
// floating values as numbers (non-finite ones as the strings "NaN", "Infinity", "-Infinity"),
// booleans as true/false, currency and decimal as exact decimal strings, dates as
// "YYYY-MM-DDTHH:MM:SS", GUIDs as "{...}", binary and OLE as base64, null as null.
//
// CSV (RFC 4180, CRLF line ends): a header of column names, then the same forms unquoted
// unless they need quotes; null is an empty unquoted field and an empty string is "".
#pragma once

#include "augurlex-dict/output_writer.h"
#include "jet/database.h"

#include <cstddef>
#include <string_view>

namespace dict {

enum class RowFormat { JsonLines, Csv };

// Parses "jsonl" or "csv"; false for anything else.
bool parseRowFormat(std::string_view name, RowFormat& format);

// How a large table is walked: in parts of so many data pages, made into text on so many
// threads. The output is the same whatever the choice.
struct RowWalk {
    std::size_t pagesPerPart = 128; // about half a megabyte of file
    std::size_t threads = 1;
    // A table of fewer parts is walked on the calling thread alone.
    std::size_t fewestPartsForThreads = 1;
    // As many threads as the machine has cores, up to four, for a table of 16 parts or more:
    // below that (8 MiB), starting threads and handing text between cores costs more processor
    // time than the threads save.
    static RowWalk forThisMachine();
};

// Writes every row of the table; engine errors (a corrupt page) propagate as jet::Error, after
// the rows before the damage are written. Returns the number of rows written.
std::uint64_t writeRows(const jet::Table& table, RowFormat format, OutputWriter& out,
                        const RowWalk& walk = {});

// One value in each format (exposed for tests).
void putJsonValue(OutputWriter& out, const jet::Value& value);
void putCsvValue(OutputWriter& out, const jet::Value& value);

} // namespace dict
