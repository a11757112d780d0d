#include "augurlex-dict/output_writer.h"

namespace dict {

OutputWriter::OutputWriter(std::FILE* stream) : stream_(stream) {
    buffer_.reserve(kFlushAt + 4096);
}

OutputWriter::OutputWriter(std::string& sink) : text_(&sink) {}

OutputWriter::~OutputWriter() {
    flush();
}

void OutputWriter::drain() {
    if (!stream_)
        return; // the sink holds it all already
    if (!failed_ && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
        failed_ = true;
    buffer_.clear();
}

void OutputWriter::putMade(std::string_view text) {
    if (!stream_ || text.size() < kFlushAt) {
        put(text);
        return;
    }
    drain();
    if (!failed_ && std::fwrite(text.data(), 1, text.size(), stream_) != text.size())
        failed_ = true;
}

bool OutputWriter::flush() {
    drain();
    if (stream_ && std::fflush(stream_) != 0)
        failed_ = true;
    return !failed_;
}

} // namespace dict
