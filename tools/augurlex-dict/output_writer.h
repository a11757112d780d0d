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
        text_->push_back(c);
        if (text_->size() >= kFlushAt && stream_)
            drain();
    }
    void put(std::string_view text) {
        text_->append(text);
        if (text_->size() >= kFlushAt && stream_)
            drain();
    }
    // Lets `append(std::string&)` add text straight to what is buffered.
    template <class Append> void putAppended(Append&& append) {
        append(*text_);
        if (text_->size() >= kFlushAt && stream_)
            drain();
    }
    // Text made elsewhere, however large, goes out as it is rather than through the buffer.
    void putMade(std::string_view text);
    // Writes out what is buffered; false if the stream refused it.
    bool flush();
    bool failed() const { return failed_; }

private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    void drain();

    std::FILE* stream_ = nullptr;
    std::string buffer_;
    std::string* text_ = &buffer_; // where put() appends: the buffer, or the sink
    bool failed_ = false;
};

} // namespace dict
