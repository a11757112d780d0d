#include "augurlex-dict/csv_reader.h"

#include <cstring>

namespace dict {

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// Large enough that refills cost nothing next to the rows, small next to any file worth
// streaming.
constexpr std::size_t kChunkSize = std::size_t{1} << 20;

// Where a field held in the unescaped buffer lies; views are made once the record is complete,
// because the buffer may move while it grows.
struct PendingField {
    std::string_view direct;
    std::size_t offset = 0;
    std::size_t length = 0;
    bool unescaped = false;
    bool quoted = false;
};

} // namespace

CsvReader::CsvReader(std::string_view text) : text_(text) {
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        pos_ = kByteOrderMark.size();
}

CsvReader::CsvReader(std::FILE* stream) : stream_(stream) {
    readMore();
    if (text_.substr(0, kByteOrderMark.size()) == kByteOrderMark)
        pos_ = kByteOrderMark.size();
}

void CsvReader::readMore() {
    buffer_.erase(0, pos_);
    pos_ = 0;
    const std::size_t kept = buffer_.size();
    buffer_.resize(kept + kChunkSize);
    const std::size_t got = std::fread(buffer_.data() + kept, 1, kChunkSize, stream_);
    buffer_.resize(kept + got);
    if (got < kChunkSize) {
        streamDone_ = true;
        readFailed_ = std::ferror(stream_) != 0;
    }
    text_ = buffer_;
}

bool CsvReader::next(std::vector<CsvField>& fields) {
    for (;;) {
        const std::size_t start = pos_;
        const std::size_t startLine = line_;
        if (pos_ < text_.size()) {
            if (parse(fields) == Parse::Record)
                return true;
            // The record runs past what has been read: read on and parse it again whole.
            pos_ = start;
            line_ = startLine;
        }
        fields.clear();
        if (!moreToRead())
            return false;
        readMore();
        if (readFailed_)
            throw CsvError(line_, "the file could not be read to its end");
    }
}

CsvReader::Parse CsvReader::parse(std::vector<CsvField>& fields) {
    fields.clear();
    recordLine_ = line_;
    unescaped_.clear();
    thread_local std::vector<PendingField> pending;
    pending.clear();

    const char* const data = text_.data();
    const std::size_t size = text_.size();
    const bool more = moreToRead();
    for (;;) {
        PendingField field;
        if (pos_ < size && data[pos_] == '"') {
            // Quoted: runs to a quote not followed by another.
            const std::size_t openedOn = line_;
            std::size_t start = ++pos_;
            bool doubled = false;
            for (;;) {
                const void* quote = std::memchr(data + pos_, '"', size - pos_);
                std::size_t end = quote ? static_cast<const char*>(quote) - data : size;
                for (std::size_t i = pos_; i < end; ++i)
                    line_ += data[i] == '\n';
                if (!quote) {
                    if (more)
                        return Parse::NeedMore;
                    throw CsvError(openedOn, "a quoted field opened on line " +
                                                 std::to_string(openedOn) + " is never closed");
                }
                if (end + 1 >= size && more)
                    return Parse::NeedMore; // the next byte tells a doubled quote from a closing
                                            // one
                if (end + 1 < size && data[end + 1] == '"') {
                    if (!doubled) {
                        field.offset = unescaped_.size();
                        doubled = true;
                    }
                    unescaped_.append(data + start, end + 1 - start);
                    start = pos_ = end + 2;
                    continue;
                }
                if (doubled) {
                    unescaped_.append(data + start, end - start);
                    field.length = unescaped_.size() - field.offset;
                    field.unescaped = true;
                } else {
                    field.direct = text_.substr(start, end - start);
                }
                pos_ = end + 1;
                break;
            }
            field.quoted = true;
            if (pos_ >= size && more)
                return Parse::NeedMore;
            if (pos_ < size && data[pos_] != ',' && data[pos_] != '\n' && data[pos_] != '\r')
                throw CsvError(line_, "text after the closing quote of a field");
        } else {
            std::size_t start = pos_;
            while (pos_ < size) {
                char c = data[pos_];
                if (c == ',' || c == '\n' || c == '\r')
                    break;
                if (c == '"')
                    throw CsvError(line_, "a quote inside a field that does not start with one "
                                          "(enclose the field in quotes and double the quote)");
                ++pos_;
            }
            if (pos_ >= size && more)
                return Parse::NeedMore;
            field.direct = text_.substr(start, pos_ - start);
        }
        pending.push_back(field);

        if (pos_ < size && data[pos_] == ',') {
            ++pos_;
            continue;
        }
        // End of the record: CRLF, LF, a lone CR or the end of the text.
        if (pos_ < size && data[pos_] == '\r') {
            if (pos_ + 1 >= size && more)
                return Parse::NeedMore;
            ++pos_;
        }
        if (pos_ < size && data[pos_] == '\n')
            ++pos_;
        ++line_;
        break;
    }

    fields.reserve(pending.size());
    for (const PendingField& p : pending) {
        std::string_view text =
            p.unescaped ? std::string_view(unescaped_).substr(p.offset, p.length) : p.direct;
        fields.push_back({text, p.quoted});
    }
    return Parse::Record;
}

} // namespace dict
