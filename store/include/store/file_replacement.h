// Replacing a small file of the program's own (not a database, such as the history of opened
// definitions) with the engine's atomic replacement: a crash at any moment leaves the old
// contents or the new, never a mix.
#pragma once

#include <string>
#include <string_view>

namespace store {

// Throws std::runtime_error naming the file and what went wrong; the old file is then untouched.
void replaceFileContents(const std::string& path, std::string_view contents);

} // namespace store
