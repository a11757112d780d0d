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

// Takes the new contents piece by piece, in order.
using ContentsWriter = std::function<void(std::span<const std::uint8_t>)>;
// The same replacement for contents too large to hold at once: `produce` hands them, in order, to
// the writer it is given. An exception from `produce` aborts the replacement like a failed step
// (and is passed on as it was).
void replaceFileAtomically(const std::filesystem::path& path,
                           const std::function<void(const ContentsWriter&)>& produce);

} // namespace jet
