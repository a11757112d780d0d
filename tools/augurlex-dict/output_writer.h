// Buffered output: text collects in memory and goes out in large writes, never per row.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace dict {

class OutputWriter {
public:
    // Writes to a stream (stdout for the tool).
    explicit OutputWriter(std::FILE* stream);
    // Collects everything in a string (tests, benchmarks).
    explicit OutputWriter(std::string& sink);
    ~OutputWriter();
    OutputWriter(const OutputWriter&) = delete;
    OutputWriter& operator=(const OutputWriter&) = delete;

    void put(char c) {
        buffer_.push_back(c);
        if (buffer_.size() >= kFlushAt)
            drain();
    }
    void put(std::string_view text) {
        buffer_.append(text);
        if (buffer_.size() >= kFlushAt)
            drain();
    }
    // Writes out what is buffered; false if the stream refused it.
    bool flush();
    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void drain();

    std::FILE* stream_ = nullptr;
    std::string* sink_ = nullptr;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace dict
