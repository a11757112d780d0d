#include "augurlex-dict/output_writer.h"

namespace dict {

OutputWriter::OutputWriter(std::FILE* stream) : stream_(stream) {
    buffer_.reserve(kFlushAt + 4096);
}

OutputWriter::OutputWriter(std::string& sink) : sink_(&sink) {}

OutputWriter::~OutputWriter() {
    flush();
}

void OutputWriter::drain() {
    if (sink_) {
        sink_->append(buffer_);
    } else if (!failed_ && !buffer_.empty()) {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size())
            failed_ = true;
    }
    buffer_.clear();
}

bool OutputWriter::flush() {
    drain();
    if (stream_ && std::fflush(stream_) != 0)
        failed_ = true;
    return !failed_;
}

} // namespace dict
