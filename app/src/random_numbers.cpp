#include "app/random_numbers.h"

#include <chrono>
#include <random>

namespace app {

namespace {
std::mt19937& generator() {
    static std::mt19937 engine;
    return engine;
}
} // namespace

void seedRandomFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(static_cast<std::mt19937::result_type>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

int randomWholeNumber(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(generator());
}

} // namespace app
