// Which file a path names, and whether it has changed: its device and inode, size and
// modification time. A writer compares the file it read with what the path names when it
// commits, so that it never replaces a file another program has changed meanwhile.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>

namespace jet::detail {

struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedSeconds = 0;
    std::int64_t modifiedNanoseconds = 0;
    bool operator==(const FileIdentity&) const = default;
};

// Of an open file; nullopt when the system refuses.
std::optional<FileIdentity> identityOf(int fd);
// Of the file a path names (following symbolic links); nullopt when there is none.
std::optional<FileIdentity> identityOf(const std::filesystem::path& path);

} // namespace jet::detail
