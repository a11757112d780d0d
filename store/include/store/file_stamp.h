// What tells one state of a file on disk from another without reading it: which file it is
// (device and inode), its size and the times of its last change, to the nanosecond.
//
// Two stamps that differ mean the file was replaced or changed. Equal stamps mean it was not,
// with one gap: a change in place that keeps the size, made within the same tick of the
// file system's clock as the stamp before it, leaves every field as it was. The status-change
// time (ctime) is in the stamp because no program can set it back: a file rewritten in place and
// given back its old modification time still shows.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace store {

struct FileStamp {
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t size = 0;
    std::int64_t modifiedNs = 0; // since the epoch
    std::int64_t changedNs = 0;  // status change, since the epoch

    bool operator==(const FileStamp&) const = default;
    std::int64_t lastChangeNs() const { return modifiedNs > changedNs ? modifiedNs : changedNs; }
};

// One stat of the path (links followed). Nothing when it is not there or not an ordinary file.
std::optional<FileStamp> stampOf(const std::string& path);

// The wall clock, in nanoseconds since the epoch, as file times count.
std::int64_t nowNs();

} // namespace store
