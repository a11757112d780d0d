// Reading CSV (RFC 4180): fields separated by commas, records by CRLF or LF, fields that hold a
// comma, quote or line break enclosed in double quotes with inner quotes doubled. A UTF-8
// byte-order mark at the start is skipped. The text is either held in memory whole or read from
// a stream a chunk at a time, so a large file never sits in memory at once.
#pragma once

#include <cstddef>
#include <cstdio>
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
    // Reads from `stream` (which the reader does not close) as records are asked for; the first
    // chunk is read at once, so readFailed() tells straight away whether the stream can be read.
    explicit CsvReader(std::FILE* stream);

    // Reads the next record into `fields`; false at the end of the text. The fields stay valid
    // until the next call. Throws CsvError for an unterminated quote or a stray quote, and for a
    // stream that fails part way.
    bool next(std::vector<CsvField>& fields);

    // The line on which the record last read starts.
    std::size_t recordLine() const { return recordLine_; }
    bool readFailed() const { return readFailed_; }

private:
    enum class Parse { Record, NeedMore };
    Parse parse(std::vector<CsvField>& fields);
    // Drops what earlier records used and appends the next chunk of the stream.
    void readMore();
    bool moreToRead() const { return stream_ && !streamDone_; }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t line_ = 1;
    std::size_t recordLine_ = 0;
    std::string unescaped_; // quoted fields with doubled quotes, joined
    std::FILE* stream_ = nullptr;
    std::string buffer_; // the part of the stream not yet consumed, when reading one
    bool streamDone_ = false;
    bool readFailed_ = false;
    bool startChecked_ = false; // the byte-order mark looked for
};

} // namespace dict
