// The names of the engine's scratch files: the new contents of a file being replaced, written
// beside it as ".NAME.augurlex-XXXXXX" until they are renamed over it. One pattern, so that what
// a killed writer left behind can be told from anything else in the folder.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace jet::detail {

// A mkstemp() template for the scratch file of `target`, in the target's own folder.
std::string scratchTemplate(const std::filesystem::path& target);

// True for a file name of exactly that pattern.
bool isScratchName(std::string_view fileName);

// Removes the regular files of that pattern from `folder`; anything else stays. Failures are
// ignored: a leftover is harmless and is tried again next time.
void removeScratchFiles(const std::filesystem::path& folder);

} // namespace jet::detail
