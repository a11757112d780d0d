// Reading CSV (RFC 4180) from text held in memory: fields separated by commas, records by CRLF
// or LF, fields that hold a comma, quote or line break enclosed in double quotes with inner
// quotes doubled. A UTF-8 byte-order mark at the start is skipped.
#pragma once

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace dict {

// A malformed record; line() is where the fault lies (1-based, counting every line break,
// including those inside quoted fields).
class CsvError : public std::runtime_error {
public:
    CsvError(std::size_t line, const std::string& message)
        : std::runtime_error(message), line_(line) {}
    std::size_t line() const { return line_; }

private:
    std::size_t line_;
};

struct CsvField {
    std::string_view text;
    bool quoted = false; // an empty quoted field is a zero-length string, an unquoted one null
};

class CsvReader {
public:
    // `text` must outlive the reader and the fields it hands out.
    explicit CsvReader(std::string_view text);

    // Reads the next record into `fields`; false at the end of the text. The fields stay valid
    // until the next call. Throws CsvError for an unterminated quote or a stray quote.
    bool next(std::vector<CsvField>& fields);

    // The line on which the record last read starts.
    std::size_t recordLine() const { return recordLine_; }

private:
    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t recordLine_ = 0;
    std::string unescaped_; // quoted fields with doubled quotes, joined
};

} // namespace dict
