// Folding, for telling how close two spellings are: a character is lowered as utf8::toLower
// lowers it, then a Latin letter with a diacritic becomes its base letter (é, ø, ł, ı, ș, ǎ, ự
// become e, o, l, i, s, a, u: Latin-1 Supplement, Latin Extended-A and -B and Latin Extended
// Additional), ß and ẞ become "ss", æ "ae", œ "oe", ĳ "ij", þ "th", ð "d", the digraphs ǆ, ǉ,
// ǌ, ǳ "dz", "lj", "nj", "dz", and a combining diacritical mark (U+0300 to U+036F) is dropped.
// Other letters (ŋ, ĸ, every other script) and everything else are only lowered.
//
// A character folds to at most two characters and never to more than its UTF-8 bytes, so a
// text folds to at most as many characters as it has bytes; a text made of ASCII alone folds
// to its lowered self, character for byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace text {

inline constexpr std::size_t kMaxFoldedCharacters = 2;

// Folds the character that starts at text[pos] into `out`, moves `pos` past it and returns how
// many characters it became (0 to 2). A byte that does not start a well-formed character is
// one character of its own, U+DC00 plus the byte (a value no decoded character takes), so it
// folds to nothing but itself.
std::size_t foldNext(std::string_view text, std::size_t& pos,
                     char32_t (&out)[kMaxFoldedCharacters]);

// The folded characters of a whole text, in order.
std::u32string foldedCharacters(std::string_view text);

} // namespace text
