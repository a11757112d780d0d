// Little-endian writes for building pages and records, and big-endian appends for index entries.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>
#include <vector>

namespace jet::detail {

inline void putLe16(std::span<std::uint8_t> out, std::size_t offset, std::uint16_t v) {
    out[offset] = static_cast<std::uint8_t>(v);
    out[offset + 1] = static_cast<std::uint8_t>(v >> 8);
}
inline void putLe32(std::span<std::uint8_t> out, std::size_t offset, std::uint32_t v) {
    putLe16(out, offset, static_cast<std::uint16_t>(v));
    putLe16(out, offset + 2, static_cast<std::uint16_t>(v >> 16));
}

// Appends the lowest `size` bytes of `value`, most significant first: index keys and entries
// compare as bytes.
inline void appendBigEndian(std::vector<std::uint8_t>& out, std::uint64_t value, std::size_t size) {
    for (std::size_t i = size; i-- > 0;)
        out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// Appends little-endian values to a growing byte vector.
class ByteWriter {
public:
    ByteWriter() = default;
    // Room for `expected` bytes at once, so that building a record does not grow it step by step.
    explicit ByteWriter(std::size_t expected) { bytes_.reserve(expected); }
    void u8(std::uint8_t v) { bytes_.push_back(v); }
    void u16(std::uint16_t v) {
        u8(static_cast<std::uint8_t>(v));
        u8(static_cast<std::uint8_t>(v >> 8));
    }
    void u32(std::uint32_t v) {
        u16(static_cast<std::uint16_t>(v));
        u16(static_cast<std::uint16_t>(v >> 16));
    }
    void u64(std::uint64_t v) {
        u32(static_cast<std::uint32_t>(v));
        u32(static_cast<std::uint32_t>(v >> 32));
    }
    void f64(double d) {
        std::uint64_t bits;
        std::memcpy(&bits, &d, sizeof bits);
        u64(bits);
    }
    void zeros(std::size_t n) { bytes_.insert(bytes_.end(), n, 0); }
    void append(std::span<const std::uint8_t> b) {
        bytes_.insert(bytes_.end(), b.begin(), b.end());
    }

    std::size_t size() const { return bytes_.size(); }
    std::vector<std::uint8_t>& bytes() { return bytes_; }
    std::vector<std::uint8_t> take() { return std::move(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// A row pointer as table definitions store it: the row number in the low byte, the page above.
inline std::uint32_t makeRowPointer(std::uint32_t page, std::uint8_t row) {
    return (page << 8) | row;
}

} // namespace jet::detail
