// One writer at a time for a folder of database files.
#pragma once

#include "jet/error.h"

#include <chrono>
#include <filesystem>

namespace jet {

// One writer at a time: every write of a folder's database files holds this lock from before it
// reads what it will change until after its last commit. Readers never take it.
class WriteLock {
public:
    // Takes the lock of `folder`, waiting at most `wait` for another writer; then raises
    // jet::Error of the new ErrorKind Busy with the message
    // "another update of this folder is in progress". Once held, removes what killed writers
    // left in the folder: scratch files of the engine's own naming pattern only.
    static WriteLock acquire(const std::filesystem::path& folder,
                             std::chrono::milliseconds wait = std::chrono::seconds(10));

    WriteLock(WriteLock&& other) noexcept;
    WriteLock& operator=(WriteLock&& other) noexcept;
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;
    ~WriteLock();

private:
    explicit WriteLock(int folderDescriptor) : folder_(folderDescriptor) {}
    int folder_ = -1; // the open folder the lock is held on; closing it releases the lock
};

} // namespace jet
