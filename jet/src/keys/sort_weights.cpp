#include "keys/sort_weights.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>
#include <stdexcept>
#include <vector>

namespace jet::detail {
namespace {

#include "keys/sort_general.inc"
#include "keys/sort_general_legacy.inc"

using WeightTable = std::array<CharWeight, 0x10000>;

int hexDigit(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// Reads hex digits at `text[pos]` up to the next delimiter.
std::string_view hexField(std::string_view text, std::size_t& pos) {
    const std::size_t start = pos;
    while (pos < text.size() && hexDigit(text[pos]) >= 0)
        ++pos;
    return text.substr(start, pos - start);
}

std::uint64_t hexValue(std::string_view hex) {
    std::uint64_t v = 0;
    for (char c : hex)
        v = v << 4 | static_cast<std::uint64_t>(hexDigit(c));
    return v;
}

CharSort sortOfLetter(char letter) {
    switch (letter) {
    case 's':
        return CharSort::Plain;
    case 'i':
        return CharSort::Accented;
    case 'u':
        return CharSort::Unprintable;
    case 'p':
        return CharSort::ExtraModifier;
    case 'z':
        return CharSort::AccentedWithFlag;
    case 'g':
        return CharSort::Significant;
    case 'q':
        return CharSort::Surrogate;
    default:
        return CharSort::Ignored;
    }
}

void putBigEndian(std::uint8_t* out, std::uint64_t value, std::size_t length) {
    for (std::size_t i = 0; i < length; ++i)
        out[i] = static_cast<std::uint8_t>(value >> (8 * (length - 1 - i)));
}

bool hasWeight(const CharWeight& w) {
    return w.weightLength > 0 && w.sort != CharSort::Ignored && w.sort != CharSort::Surrogate;
}

std::uint64_t weightValue(const std::uint8_t* bytes, std::size_t length) {
    std::uint64_t v = 0;
    for (std::size_t i = 0; i < length; ++i)
        v = v << 8 | bytes[i];
    return v;
}

// A character that sorts as several letters has, in the tables, the weights of those letters
// one after the other, and when accented an extra code for each of them. A letter's weight is
// `letterSize` bytes; a longer weight made only of letters' weights is that many letters.
void countLetters(WeightTable& table, std::size_t letterSize) {
    std::vector<bool> isLetterWeight(std::size_t{1} << (8 * letterSize));
    for (const CharWeight& w : table)
        if (hasWeight(w) && w.weightLength == letterSize)
            isLetterWeight[weightValue(w.weight, letterSize)] = true;
    for (CharWeight& w : table) {
        if (w.sort == CharSort::Accented || w.sort == CharSort::AccentedWithFlag) {
            w.letters = std::max<std::uint8_t>(1, w.extraLength);
            continue;
        }
        if (!hasWeight(w) || w.weightLength <= letterSize || w.weightLength % letterSize != 0)
            continue;
        bool letters = true;
        for (std::size_t at = 0; at < w.weightLength; at += letterSize)
            letters = letters && isLetterWeight[weightValue(w.weight + at, letterSize)];
        if (letters)
            w.letters = static_cast<std::uint8_t>(w.weightLength / letterSize);
    }
}

// Expands the run-length text of a table into one entry per code unit.
std::unique_ptr<WeightTable> expand(std::string_view runs, std::size_t letterSize) {
    auto table = std::make_unique<WeightTable>();
    std::size_t pos = 0;
    std::size_t unit = 0;
    while (pos < runs.size()) {
        CharWeight w;
        w.sort = sortOfLetter(runs[pos++]);
        const std::uint64_t count = hexValue(hexField(runs, pos));
        bool rising = false;
        std::uint64_t weight = 0;
        if (pos < runs.size() && (runs[pos] == '=' || runs[pos] == '+')) {
            rising = runs[pos++] == '+';
            const std::string_view hex = hexField(runs, pos);
            w.weightLength = static_cast<std::uint8_t>(hex.size() / 2);
            weight = hexValue(hex);
        }
        if (pos < runs.size() && runs[pos] == ',') {
            ++pos;
            const std::string_view hex = hexField(runs, pos);
            w.extraLength = static_cast<std::uint8_t>(hex.size() / 2);
            putBigEndian(w.extra, hexValue(hex), w.extraLength);
        }
        if (pos < runs.size() && runs[pos] == ',') {
            ++pos;
            w.flag = static_cast<std::uint8_t>(hexValue(hexField(runs, pos)));
        }
        if (pos >= runs.size() || runs[pos] != ';' || unit + count > table->size())
            throw std::logic_error("malformed sort weight table");
        ++pos;
        for (std::uint64_t i = 0; i < count; ++i, ++unit) {
            putBigEndian(w.weight, weight, w.weightLength);
            (*table)[unit] = w;
            if (rising)
                ++weight;
        }
    }
    if (unit != table->size())
        throw std::logic_error("sort weight table does not cover every code unit");
    countLetters(*table, letterSize);
    return table;
}

} // namespace

const CharWeight& charWeight(TextSortOrder order, char16_t unit) {
    if (order == TextSortOrder::General) {
        static const std::unique_ptr<WeightTable> general = expand(kGeneralWeights, 2);
        return (*general)[unit];
    }
    static const std::unique_ptr<WeightTable> legacy = expand(kGeneralLegacyWeights, 1);
    return (*legacy)[unit];
}

} // namespace jet::detail
