// Appending the rows of a CSV text to a table, the work behind `augurlex-dict import`.
#pragma once

#include "augurlex-dict/csv_reader.h"
#include "jet/write_session.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace dict {

// Why an import stopped: the CSV line, the column when one is to blame, and the reason.
class ImportError : public std::runtime_error {
public:
    ImportError(std::size_t line, std::string column, const std::string& reason);
    std::size_t line() const { return line_; }
    const std::string& column() const { return column_; }

private:
    std::size_t line_;
    std::string column_;
};

// Appends every record of `csv` (a header line naming columns of `table` in any order, ignoring
// case, then one record a line) to the session, converting each field from the forms
// `dump --format csv` writes. `constants` are given to every row as well (columns the CSV must
// not name). Nothing is committed; on an ImportError the session must not be committed either.
// Returns the number of rows appended.
std::uint64_t importCsv(jet::WriteSession& session, const std::string& table, std::string_view csv,
                        const jet::RowValues& constants = {});
// The same, the records read from `reader` (a file read as it goes).
std::uint64_t importCsv(jet::WriteSession& session, const std::string& table, CsvReader& reader,
                        const jet::RowValues& constants = {});

} // namespace dict
