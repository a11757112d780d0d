// Little-endian reads from page bytes, checked and unchecked, and the big-endian numbers of index
// entries.
#pragma once

#include <cstdint>
#include <cstring>
#include <span>

namespace jet::detail {

using ByteSpan = std::span<const std::uint8_t>;

inline std::uint16_t le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}
inline std::uint32_t le24(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16);
}
inline std::uint32_t le32(const std::uint8_t* p) {
    return le24(p) | (static_cast<std::uint32_t>(p[3]) << 24);
}
inline std::uint64_t le64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(le32(p)) | (static_cast<std::uint64_t>(le32(p + 4)) << 32);
}
// A big-endian number of `size` bytes (at most four), as index entries hold page numbers.
inline std::uint32_t be(const std::uint8_t* p, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i)
        v = v << 8 | p[i];
    return v;
}
inline double leDouble(const std::uint8_t* p) {
    std::uint64_t bits = le64(p);
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}
inline float leFloat(const std::uint8_t* p) {
    std::uint32_t bits = le32(p);
    float f;
    std::memcpy(&f, &bits, sizeof f);
    return f;
}

// True when [offset, offset + length) lies inside a buffer of `size` bytes, without overflow.
inline bool fits(std::size_t size, std::size_t offset, std::size_t length) {
    return offset <= size && length <= size - offset;
}

} // namespace jet::detail
