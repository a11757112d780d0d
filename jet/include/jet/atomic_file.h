// Replacing a file so that a crash at any moment leaves either the old or the new contents.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <span>

namespace jet {

// The steps of a replacement, in order; tests make one of them fail to prove the old file
// survives every failure.
enum class CommitStep { CreateTemp, WriteTemp, SyncTemp, CloseTemp, Rename, SyncFolder };

// Called before each step; throwing from it aborts the replacement at that step.
using CommitHook = std::function<void(CommitStep)>;
void setCommitHookForTesting(CommitHook hook);

// Writes `bytes` to a new file beside `path`, flushes it, renames it over `path` and flushes the
// folder. On any failure the temporary file is removed, `path` is untouched, and ErrorKind Io is
// raised naming the file. A read-only file is refused before anything is written; a symbolic
// link is followed and its target replaced (the link stays); the new file keeps the old one's
// permissions, and its owner and group where the writer may set them.
void replaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

} // namespace jet
