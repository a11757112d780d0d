#include "keys/text_key.h"

#include "text/utf8.h"

#include <algorithm>
#include <cstddef>
#include <string>

namespace jet::detail {
namespace {

constexpr std::size_t kMaxKeyUnits = 255;
constexpr std::uint8_t kEndOfText = 0x01;
constexpr std::uint8_t kEndOfKey = 0x00;
constexpr std::uint8_t kExtraFiller = 0x02; // extra code of a character without one
constexpr std::uint8_t kFlagGroupStart = 0x80;
constexpr std::uint8_t kFlagDefault = 0x03;
constexpr std::uint8_t kFlagsEnd[] = {0xff, 0x02, 0x80, 0xff, 0x80};
constexpr std::uint8_t kFlagsThenUnprintable = 0xff;
constexpr unsigned kUnprintableBase = 7;
constexpr unsigned kUnprintableStep = 4;
constexpr unsigned kUnprintableMark = 0x8000;
constexpr std::uint8_t kUnprintableSeparator = 0x06;

// The text as UTF-16 code units, cut to the length a key holds, trailing spaces dropped.
std::u16string keyUnits(std::string_view utf8) {
    std::u16string units;
    for (std::size_t pos = 0; pos < utf8.size() && units.size() < kMaxKeyUnits;) {
        char32_t c = 0xfffd;
        const std::size_t length = text::utf8::decode(utf8, pos, c);
        pos += length ? length : 1;
        if (c >= 0x10000) {
            c -= 0x10000;
            units.push_back(static_cast<char16_t>(0xd800 + (c >> 10)));
            if (units.size() < kMaxKeyUnits)
                units.push_back(static_cast<char16_t>(0xdc00 + (c & 0x3ff)));
        } else {
            units.push_back(static_cast<char16_t>(c));
        }
    }
    while (!units.empty() && units.back() == u' ')
        units.pop_back();
    return units;
}

// The weight of half a surrogate pair, which the tables leave to arithmetic.
void appendSurrogateWeight(std::vector<std::uint8_t>& key, char16_t unit) {
    unsigned index;
    if (unit < 0xdc00) {
        index = unit - 10238u;
    } else {
        const unsigned offset = (unit - 0xdc00u) % 1024;
        const unsigned shift = offset < 8             ? 9992
                               : offset < 8 + 254     ? 9990
                               : offset < 8 + 2 * 254 ? 9988
                               : offset < 8 + 3 * 254 ? 9986
                                                      : 9984;
        index = unit - shift;
    }
    key.push_back(static_cast<std::uint8_t>(index >> 8));
    key.push_back(static_cast<std::uint8_t>(index));
}

// Where a character stands in its text: among the characters with a weight, and among the
// letters they sort as (a character that sorts as several, "ß" as "ss", counts each).
struct Position {
    std::size_t chars = 0;
    std::size_t letters = 0;
};

// The three trailing parts of a key, gathered while the weights are written. Positions up to
// the first extra code count letters, later ones characters, as the keys Access stored show:
// "ß" counts twice before the first accent ("Lebensmittelgroßmärkte", "Nuß-Nougat"), "Æ",
// "Þ" and "ß" once after it (a text of every Latin-1 letter).
struct Extras {
    std::vector<std::uint8_t> codes;  // one extra code per character, from the first with one
    bool started = false;             // a character's code is among them
    std::size_t charsCovered = 0;     // characters the codes account for, once started
    std::size_t leadingModifiers = 0; // a modifier seen before any extra code
    std::vector<std::uint8_t> unprintable;
    std::vector<std::uint8_t> flags;

    void addExtra(Position at, const CharWeight& w) {
        if (w.sort == CharSort::ExtraModifier) {
            if (!codes.empty()) {
                codes.back() = static_cast<std::uint8_t>(codes.back() + w.extra[0]);
            } else {
                codes.push_back(w.extra[0]);
                leadingModifiers = 1;
            }
            return;
        }
        const std::size_t fillers =
            started ? at.chars - std::min(at.chars, charsCovered) : at.letters;
        codes.insert(codes.end(), fillers, kExtraFiller);
        codes.insert(codes.end(), w.extra, w.extra + w.extraLength);
        charsCovered = at.chars + 1;
        started = true;
    }

    void addUnprintable(Position at, const CharWeight& w) {
        const std::size_t position =
            started ? codes.size() + (at.chars - charsCovered) - leadingModifiers : at.letters;
        const unsigned mark =
            (kUnprintableBase + kUnprintableStep * static_cast<unsigned>(position)) |
            kUnprintableMark;
        unprintable.push_back(static_cast<std::uint8_t>(mark >> 8));
        unprintable.push_back(static_cast<std::uint8_t>(mark));
        unprintable.push_back(kUnprintableSeparator);
        unprintable.insert(unprintable.end(), w.extra, w.extra + w.extraLength);
    }
};

void trimTrailing(std::vector<std::uint8_t>& bytes, std::uint8_t low, std::uint8_t high) {
    while (!bytes.empty() && bytes.back() >= low && bytes.back() <= high)
        bytes.pop_back();
}

// Flags packed three to a byte, two bits each, the first in the high bits.
void appendFlags(std::vector<std::uint8_t>& key, std::vector<std::uint8_t> flags) {
    trimTrailing(flags, kFlagDefault, kFlagDefault);
    std::uint8_t packed = kFlagGroupStart;
    int filled = 0;
    for (std::uint8_t flag : flags) {
        packed = static_cast<std::uint8_t>(packed | flag << ((2 - filled) * 2));
        if (++filled == 3) {
            key.push_back(packed);
            packed = kFlagGroupStart;
            filled = 0;
        }
    }
    if (filled > 0)
        key.push_back(packed);
    key.insert(key.end(), std::begin(kFlagsEnd), std::end(kFlagsEnd));
}

} // namespace

void appendGeneralTextKey(std::vector<std::uint8_t>& key, std::string_view utf8,
                          TextSortOrder order, bool ascending) {
    const std::size_t start = key.size();
    const std::u16string units = keyUnits(utf8);
    Extras extras;
    Position at;
    for (char16_t unit : units) {
        const CharWeight& w = charWeight(order, unit);
        const Position here = at;
        if (w.sort == CharSort::Surrogate) {
            appendSurrogateWeight(key, unit);
            ++at.chars;
            ++at.letters;
        } else if (w.weightLength > 0) {
            key.insert(key.end(), w.weight, w.weight + w.weightLength);
            ++at.chars;
            at.letters += w.letters;
        }
        switch (w.sort) {
        case CharSort::Accented:
        case CharSort::ExtraModifier:
            extras.addExtra(here, w);
            break;
        case CharSort::AccentedWithFlag:
            if (w.extraLength > 0)
                extras.addExtra(here, w);
            extras.flags.push_back(w.flag);
            break;
        case CharSort::Surrogate: {
            static constexpr CharWeight kSurrogateExtra{CharSort::Accented, 0, 1, 0, 1, {}, {0x3f}};
            extras.addExtra(here, kSurrogateExtra);
            break;
        }
        case CharSort::Unprintable:
            extras.addUnprintable(here, w);
            break;
        default:
            break;
        }
    }
    key.push_back(kEndOfText);

    trimTrailing(extras.codes, 0x00, kExtraFiller);
    const bool haveUnprintable = !extras.unprintable.empty();
    const bool haveFlags = !extras.flags.empty();
    key.insert(key.end(), extras.codes.begin(), extras.codes.end());
    if (haveFlags || haveUnprintable) {
        key.push_back(kEndOfText);
        key.push_back(kEndOfText);
        if (haveFlags) {
            appendFlags(key, extras.flags);
            if (haveUnprintable)
                key.push_back(kFlagsThenUnprintable);
        }
        if (haveUnprintable) {
            key.push_back(kEndOfText);
            key.insert(key.end(), extras.unprintable.begin(), extras.unprintable.end());
        }
    }
    if (!ascending) {
        key.push_back(kEndOfKey);
        for (std::size_t i = start; i < key.size(); ++i)
            key[i] = static_cast<std::uint8_t>(~key[i]);
    }
    key.push_back(kEndOfKey);
}

} // namespace jet::detail
