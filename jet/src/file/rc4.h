// The RC4 stream cipher Jet uses to mask the header page and to encode whole pages.
#pragma once

#include <cstdint>
#include <span>

namespace jet::detail {

// XORs `data` in place with the RC4 key stream for `key` (applying it twice restores the data).
void rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data);

} // namespace jet::detail
