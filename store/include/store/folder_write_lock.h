// One writer at a time in a folder: every change to the program's files happens while this lock
// is held, from the reading of what will change to the last commit, so two writers never both
// write a file each read before the other's commit. A file that is a symbolic link is written
// in its target's folder, so that folder's lock is the one that counts (acquireForFiles).
//
//   store::FolderWriteLock lock = store::FolderWriteLock::acquireForFiles(folder, {catalogue,
//   omens});
//   ... read, change and commit the files ...
//   // released when `lock` goes out of scope
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace store {

struct HeldWriteLock;

class FolderWriteLock {
public:
    // Waits a while for another writer to finish; std::runtime_error saying why when the lock
    // cannot be had (another update still in progress, or the folder refuses the lock file).
    static FolderWriteLock acquire(const std::string& folder);
    // The lock of `folder` (where new files are made) and of every folder one of `files` is
    // replaced in (after following symbolic links), taken together in one fixed order, so two
    // writers never wait for each other in a circle; all or none.
    static FolderWriteLock acquireForFiles(const std::string& folder,
                                           const std::vector<std::string>& files);

    FolderWriteLock(FolderWriteLock&&) noexcept;
    FolderWriteLock& operator=(FolderWriteLock&&) noexcept;
    ~FolderWriteLock();

private:
    explicit FolderWriteLock(std::unique_ptr<HeldWriteLock> held);
    std::unique_ptr<HeldWriteLock> held_;
};

} // namespace store
