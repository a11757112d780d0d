#include "keys/text_key97.h"

#include "jet/error.h"
#include "read/code_page.h"
#include "text/utf8.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdio>
#include <string>
#include <utility>

namespace jet::detail {
namespace {

#include "keys/sort_general97.inc"

enum class Kind : std::uint8_t { None, Plain, LetterWithAccents, Accented };

struct Weight97 {
    Kind kind;
    std::uint8_t weight[2]; // the second is 0 when there is one
    std::uint8_t accent;
};

Weight97 weightOf(std::uint8_t byte) {
    const std::uint32_t packed = kGeneral97Weights[byte];
    return {static_cast<Kind>(packed >> 24),
            {static_cast<std::uint8_t>(packed >> 16), static_cast<std::uint8_t>(packed >> 8)},
            static_cast<std::uint8_t>(packed)};
}

// Letters with accented forms, by their weight: a character that sorts as several letters ("ß"
// as "ss", "æ" as "ae") holds a place in the accent codes for each of them that has such forms.
std::size_t lettersWithAccents(const Weight97& w) {
    static const std::array<bool, 256> hasAccentedForms = [] {
        std::array<bool, 256> out{};
        for (unsigned byte = 0; byte < 256; ++byte) {
            const Weight97 letter = weightOf(static_cast<std::uint8_t>(byte));
            if (letter.kind == Kind::LetterWithAccents && letter.weight[1] == 0)
                out[letter.weight[0]] = true;
        }
        return out;
    }();
    if (w.kind == Kind::LetterWithAccents)
        return 1;
    if (w.kind != Kind::Plain || w.weight[1] == 0)
        return 0;
    return std::size_t{hasAccentedForms[w.weight[0]]} + hasAccentedForms[w.weight[1]];
}

constexpr std::size_t kMaxKeyChars = 255;
constexpr std::uint32_t kGeneralSortOrder = 1033;
constexpr std::uint8_t kNoAccents = 0x00;       // closes a text without accent codes
constexpr std::uint8_t kAccentsBoundary = 0x0;  // nibble before and after the accent codes
constexpr std::uint8_t kUnaccentedLetter = 0x2; // nibble of a letter without an accent

[[noreturn]] void refuseCharacter(char32_t c) {
    char code[16];
    std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
    throw Error(ErrorKind::Invalid, std::string("cannot build an Access 97 text index key for ") +
                                        code + ": Windows-1252 does not hold it");
}

// The text's Windows-1252 bytes, cut to the length a key holds, trailing spaces dropped.
std::vector<std::uint8_t> keyBytes(std::string_view utf8) {
    std::vector<std::uint8_t> bytes;
    for (std::size_t pos = 0; pos < utf8.size() && bytes.size() < kMaxKeyChars;) {
        char32_t c = 0xfffd;
        const std::size_t length = text::utf8::decode(utf8, pos, c);
        pos += length ? length : 1;
        const int byte = windows1252Byte(c);
        if (byte < 0)
            refuseCharacter(c);
        bytes.push_back(static_cast<std::uint8_t>(byte));
    }
    while (!bytes.empty() && bytes.back() == ' ')
        bytes.pop_back();
    return bytes;
}

// Four-bit codes packed two to a byte, the first in the high half.
class Nibbles {
public:
    void push(std::uint8_t nibble) {
        if (count_++ % 2 == 0)
            bytes_.push_back(static_cast<std::uint8_t>(nibble << 4));
        else
            bytes_.back() = static_cast<std::uint8_t>(bytes_.back() | (nibble & 0x0f));
    }
    bool empty() const { return count_ == 0; }
    const std::vector<std::uint8_t>& bytes() const { return bytes_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::size_t count_ = 0;
};

} // namespace

std::optional<TextSortOrder> jet3TextSortOrder(const Jet3Text& text) {
    if (text.codePage == 1252 && text.sortOrder == kGeneralSortOrder)
        return TextSortOrder::General97;
    return std::nullopt;
}

std::string jet3SortOrderName(const Jet3Text& text) {
    if (text.sortOrder != kGeneralSortOrder)
        return "with locale " + std::to_string(text.sortOrder) + " of an Access 97 file";
    return "\"General\" of Access 97 text in code page " + std::to_string(text.codePage);
}

void appendGeneral97TextKey(std::vector<std::uint8_t>& key, std::string_view utf8, bool ascending) {
    const std::size_t start = key.size();
    // Accent codes name only the letters that have accented forms: each unaccented one before an
    // accented letter holds a place; those after the last accented letter are left out.
    Nibbles accents;
    std::size_t lettersWaiting = 0;
    for (std::uint8_t byte : keyBytes(utf8)) {
        const Weight97 w = weightOf(byte);
        if (w.kind == Kind::None)
            continue;
        key.push_back(w.weight[0]);
        if (w.weight[1] != 0)
            key.push_back(w.weight[1]);
        if (w.kind != Kind::Accented) {
            lettersWaiting += lettersWithAccents(w);
        } else {
            if (accents.empty())
                accents.push(kAccentsBoundary);
            for (; lettersWaiting > 0; --lettersWaiting)
                accents.push(kUnaccentedLetter);
            accents.push(w.accent);
        }
    }
    if (accents.empty()) {
        key.push_back(kNoAccents);
    } else {
        accents.push(kAccentsBoundary);
        key.insert(key.end(), accents.bytes().begin(), accents.bytes().end());
    }
    if (!ascending)
        std::for_each(key.begin() + static_cast<std::ptrdiff_t>(start), key.end(),
                      [](std::uint8_t& b) { b = static_cast<std::uint8_t>(~b); });
}

} // namespace jet::detail
