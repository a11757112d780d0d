#include "store/folder_write_lock.h"

#include "jet/write_lock.h"

#include <filesystem>
#include <stdexcept>

namespace store {

struct HeldWriteLock {
    jet::WriteLock lock;
};

FolderWriteLock FolderWriteLock::acquire(const std::string& folder) {
    try {
        return FolderWriteLock(std::make_unique<HeldWriteLock>(
            HeldWriteLock{jet::WriteLock::acquire(folder.empty() ? std::string(".") : folder)}));
    } catch (const jet::Error& error) {
        throw std::runtime_error(error.what());
    }
}

FolderWriteLock FolderWriteLock::acquireForFiles(const std::string& folder,
                                                 const std::vector<std::string>& files) {
    std::vector<std::filesystem::path> folders{folder.empty() ? std::string(".") : folder};
    for (const std::string& file : files)
        folders.push_back(jet::WriteLock::folderToLock(file));
    try {
        return FolderWriteLock(
            std::make_unique<HeldWriteLock>(HeldWriteLock{jet::WriteLock::acquireAll(folders)}));
    } catch (const jet::Error& error) {
        throw std::runtime_error(error.what());
    }
}

FolderWriteLock::FolderWriteLock(std::unique_ptr<HeldWriteLock> held) : held_(std::move(held)) {}
FolderWriteLock::FolderWriteLock(FolderWriteLock&&) noexcept = default;
FolderWriteLock& FolderWriteLock::operator=(FolderWriteLock&&) noexcept = default;
FolderWriteLock::~FolderWriteLock() = default;

} // namespace store
