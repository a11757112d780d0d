#include "program_values.h"

#include <chrono>
#include <random>

namespace augurlex {

namespace {
std::mt19937& generator() {
    static std::mt19937 engine;
    return engine;
}
} // namespace

int& Connected() {
    static int connected = 0;
    return connected;
}

std::string& strURL() {
    static std::string url;
    return url;
}

void SeedRandomFromClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch();
    generator().seed(static_cast<std::mt19937::result_type>(
        std::chrono::duration_cast<std::chrono::nanoseconds>(now).count()));
}

int RandomWholeNumber(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(generator());
}

} // namespace augurlex
