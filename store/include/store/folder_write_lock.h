// One writer at a time in a folder: every change to the program's files happens while this lock
// is held, from the reading of what will change to the last commit, so two writers never both
// write a file each read before the other's commit.
//
//   store::FolderWriteLock lock = store::FolderWriteLock::acquire(folder);
//   ... read, change and commit the files ...
//   // released when `lock` goes out of scope
#pragma once

#include <memory>
#include <string>

namespace store {

struct HeldWriteLock;

class FolderWriteLock {
public:
    // Waits a while for another writer to finish; std::runtime_error saying why when the lock
    // cannot be had (another update still in progress, or the folder refuses the lock file).
    static FolderWriteLock acquire(const std::string& folder);

    FolderWriteLock(FolderWriteLock&&) noexcept;
    FolderWriteLock& operator=(FolderWriteLock&&) noexcept;
    ~FolderWriteLock();

private:
    explicit FolderWriteLock(std::unique_ptr<HeldWriteLock> held);
    std::unique_ptr<HeldWriteLock> held_;
};

} // namespace store
