// Many short texts in one buffer, one after another, with where each ends: a million keywords
// take two allocations instead of a million, and a scan runs over contiguous memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace lookup {

class PackedTexts {
public:
    void push_back(std::string_view text) {
        chars_.append(text);
        ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
    }
    // Frees what growth left unused.
    void shrink_to_fit() {
        chars_.shrink_to_fit();
        ends_.shrink_to_fit();
    }

    std::size_t size() const { return ends_.size(); }
    std::size_t begin(std::size_t i) const { return i == 0 ? 0 : ends_[i - 1]; }
    std::size_t end(std::size_t i) const { return ends_[i]; }
    std::string_view operator[](std::size_t i) const {
        return std::string_view(chars_).substr(begin(i), end(i) - begin(i));
    }
    // Every text, end to end.
    std::string_view all() const { return chars_; }
    std::size_t bytes() const {
        return chars_.capacity() + ends_.capacity() * sizeof(std::uint32_t);
    }

private:
    std::string chars_;
    std::vector<std::uint32_t> ends_; // files stay under 2 GB, and their text with them
};

} // namespace lookup
