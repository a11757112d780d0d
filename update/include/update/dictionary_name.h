// Dictionary names as an update file gives them: whether one can name a file in the program
// folder, and the display name the catalogue lists.
#pragma once

#include <optional>
#include <string>

namespace update {

// The longest lower-cased name, in bytes, that is used as a file name.
inline constexpr std::size_t kMaxDictionaryNameBytes = 200;

// The name without the white space around it: " tarot" and "tarot " are "tarot", so white space
// never makes a second dictionary a user cannot tell from the first.
std::string trimmedName(const std::string& names);

// What an update row's name and the catalogue's names are compared by, and a new dictionary's
// file name: trimmed and lower-cased.
std::string dictionaryKey(const std::string& names);

// Why `names` cannot be the plain file name of a dictionary in the program folder (empty once
// trimmed, "." or "..", a hidden file's name (a leading dot), a path separator, a control
// character, too long, or the name of the catalogue or the template); nothing when it can.
std::optional<std::string> unsafeDictionaryName(const std::string& names);

// The trimmed name with its first character in upper case and the rest unchanged (UTF-8).
std::string displayName(const std::string& names);

} // namespace update
