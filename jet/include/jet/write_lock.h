// One writer at a time for each folder of database files.
#pragma once

#include "jet/error.h"

#include <chrono>
#include <filesystem>
#include <vector>

namespace jet {

// One writer at a time: every write of a database file holds the lock of the folder the file
// really lives in (after following symbolic links) from before it reads what it will change
// until after its last commit. Readers never take it.
class WriteLock {
public:
    // Takes the lock of `folder`, waiting at most `wait` for another writer; then raises
    // jet::Error of ErrorKind Busy with the message
    // "another update of this folder is in progress". Once held, removes what killed writers
    // left in the folder: scratch files of the engine's own naming pattern only.
    static WriteLock acquire(const std::filesystem::path& folder,
                             std::chrono::milliseconds wait = defaultWait());

    // Takes, as one lock, the locks of several folders (a writer of several files takes the
    // folderToLock of each): each folder once, in one order fixed by the folders' device and
    // inode numbers, so that two writers asking for overlapping folders never wait for each
    // other in a circle. Waits at most `wait` in all; on failure holds nothing. Clears scratch
    // files in each folder as `acquire` does.
    static WriteLock acquireAll(const std::vector<std::filesystem::path>& folders,
                                std::chrono::milliseconds wait = defaultWait());

    // The folder a writer of `file` must lock: where the file it replaces is, a symbolic link's
    // target's folder (also for a link into another folder of dictionaries).
    static std::filesystem::path folderToLock(const std::filesystem::path& file);

    // How long a writer waits for another by default (10 seconds); tests that hold a writer on
    // purpose make the second one give up at once.
    static std::chrono::milliseconds defaultWait();
    static void setDefaultWaitForTesting(std::chrono::milliseconds wait);

    WriteLock(WriteLock&& other) noexcept;
    WriteLock& operator=(WriteLock&& other) noexcept;
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    ~WriteLock();

private:
    WriteLock() = default;
    void release() noexcept;
    std::vector<int> folders_; // the open folders the lock is held on; closing one releases it
};

} // namespace jet
