#include "file/rc4.h"

#include <array>
#include <utility>

namespace jet::detail {

void rc4Apply(std::span<const std::uint8_t> key, std::span<std::uint8_t> data) {
    if (key.empty())
        return;
    std::array<std::uint8_t, 256> state;
    for (int i = 0; i < 256; ++i)
        state[i] = static_cast<std::uint8_t>(i);
    std::uint8_t j = 0;
    for (int i = 0; i < 256; ++i) {
        j = static_cast<std::uint8_t>(j + state[i] + key[i % key.size()]);
        std::swap(state[i], state[j]);
    }
    std::uint8_t a = 0;
    std::uint8_t b = 0;
    for (auto& byte : data) {
        a = static_cast<std::uint8_t>(a + 1);
        b = static_cast<std::uint8_t>(b + state[a]);
        std::swap(state[a], state[b]);
        byte ^= state[static_cast<std::uint8_t>(state[a] + state[b])];
    }
}

} // namespace jet::detail
