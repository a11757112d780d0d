// Dictionary names as an update file gives them: whether one can name a file in the program
// folder, and the display name the catalogue lists.
#pragma once

#include <optional>
#include <string>

namespace update {

// The longest lower-cased name, in bytes, that is used as a file name.
inline constexpr std::size_t kMaxDictionaryNameBytes = 200;

// Why `names` cannot be the plain file name of a dictionary in the program folder (empty once
// lower-cased, "." or "..", a path separator, a control character, too long, or the name of
// the catalogue or the template); nothing when it can.
std::optional<std::string> unsafeDictionaryName(const std::string& names);

// The name with its first character in upper case and the rest unchanged (UTF-8).
std::string displayName(const std::string& names);

} // namespace update
