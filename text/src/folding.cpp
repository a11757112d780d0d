#include "text/folding.h"

#include "text/utf8.h"

namespace text {

namespace {

// The base letter of each character of the Latin ranges, sixteen a row: '.' keeps the character
// (lowered), '*' folds to two letters (twoLetters below).
constexpr std::string_view kLatin1Supplement = // U+00C0 to U+00FF
    "aaaaaa*ceeeeiiii"
    "dnooooo.ouuuuy**"
    "aaaaaa*ceeeeiiii"
    "dnooooo.ouuuuy*y";
constexpr std::string_view kLatinExtendedAB = // U+0100 to U+024F
    "aaaaaaccccccccdd"
    "ddeeeeeeeeeegggg"
    "gggghhhhiiiiiiii"
    "ii**jjkk.lllllll"
    "lllnnnnnnn..oooo"
    "oo**rrrrrrssssss"
    "ssttttttuuuuuuuu"
    "uuuuwwyyyzzzzzzs"
    "bb.....cc.ddd..."
    ".ffg...ikkl..n.."
    "oo..pp.....ttttu"
    "u.vyyzz........."
    "....*********aai"
    "ioouuuuuuuuuu.aa"
    "aa**ggggkkoooo.."
    "j***gg..nnaa**.."
    "aaaaeeeeiiiioooo"
    "rrrruuuusstt..hh"
    ".d..zzaaeeoooooo"
    "ooyylnt....ccl.."
    "...b..eejj..rryy";
constexpr std::string_view kLatinExtendedAdditional = // U+1E00 to U+1EFF
    "aabbbbbbccdddddd"
    "ddddeeeeeeeeeeff"
    "gghhhhhhhhhhiiii"
    "kkkkkkllllllllmm"
    "mmmmnnnnnnnnoooo"
    "oooopppprrrrrrrr"
    "sssssssssstttttt"
    "ttuuuuuuuuuuvvvv"
    "wwwwwwwwwwxxxxyy"
    "zzzzzzhtwyasss*."
    "aaaaaaaaaaaaaaaa"
    "aaaaaaaaeeeeeeee"
    "eeeeeeeeiiiioooo"
    "oooooooooooooooo"
    "oooouuuuuuuuuuuu"
    "uuyyyyyyyy......";
static_assert(kLatin1Supplement.size() == 0x40 && kLatinExtendedAB.size() == 0x150 &&
              kLatinExtendedAdditional.size() == 0x100);

// Every character the tables mark '*', in both cases, since lowering may be ASCII only (each is
// two bytes or more in UTF-8).
const char* twoLetters(char32_t lowered) {
    switch (lowered) {
    case U'ß':
    case U'ẞ':
        return "ss";
    case U'æ':
    case U'Æ':
    case U'ǣ':
    case U'Ǣ':
    case U'ǽ':
    case U'Ǽ':
        return "ae";
    case U'œ':
    case U'Œ':
        return "oe";
    case U'ĳ':
    case U'Ĳ':
        return "ij";
    case U'þ':
    case U'Þ':
        return "th";
    case U'ǆ':
    case U'ǅ':
    case U'Ǆ':
    case U'ǳ':
    case U'ǲ':
    case U'Ǳ':
        return "dz";
    case U'ǉ':
    case U'ǈ':
    case U'Ǉ':
        return "lj";
    case U'ǌ':
    case U'ǋ':
    case U'Ǌ':
        return "nj";
    default:
        return nullptr;
    }
}

// The table entry of a character, or '.' outside the tables.
char baseLetter(char32_t c) {
    if (c >= 0xC0 && c < 0x100)
        return kLatin1Supplement[c - 0xC0];
    if (c >= 0x100 && c < 0x250)
        return kLatinExtendedAB[c - 0x100];
    if (c >= 0x1E00 && c < 0x1F00)
        return kLatinExtendedAdditional[c - 0x1E00];
    return '.';
}

std::size_t foldCharacter(char32_t c, char32_t (&out)[kMaxFoldedCharacters]) {
    if (c >= 0x300 && c <= 0x36F)
        return 0;
    const char32_t lowered = utf8::toLower(c);
    const char base = baseLetter(lowered);
    const char* letters = base == '*' ? twoLetters(lowered) : nullptr;
    if (letters == nullptr) {
        out[0] = base == '.' || base == '*' ? lowered : static_cast<char32_t>(base);
        return 1;
    }
    out[0] = static_cast<char32_t>(letters[0]);
    out[1] = static_cast<char32_t>(letters[1]);
    return 2;
}

} // namespace

std::size_t foldNext(std::string_view text, std::size_t& pos,
                     char32_t (&out)[kMaxFoldedCharacters]) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        out[0] = byte >= 'A' && byte <= 'Z' ? byte + ('a' - 'A') : byte;
        return 1;
    }
    char32_t c = 0;
    const std::size_t length = utf8::decode(text, pos, c);
    if (length == 0) {
        ++pos;
        out[0] = 0xDC00 + byte;
        return 1;
    }
    pos += length;
    return foldCharacter(c, out);
}

std::u32string foldedCharacters(std::string_view text) {
    std::u32string folded;
    folded.reserve(text.size());
    char32_t characters[kMaxFoldedCharacters];
    for (std::size_t pos = 0; pos < text.size();)
        folded.append(characters, foldNext(text, pos, characters));
    return folded;
}

} // namespace text
