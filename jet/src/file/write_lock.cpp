// The lock is flock() on the folder itself: no lock file litters the folder, and the lock of a
// writer that is killed vanishes with its process. flock() belongs to the open folder, not to
// its path, so two paths to one folder share one lock.
#include "jet/write_lock.h"

#include "file/scratch_files.h"
#include "jet/error.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace jet {

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(20);
std::atomic<std::chrono::milliseconds::rep> defaultWaitMs{10'000};

struct OpenFolder {
    std::filesystem::path path;
    int fd = -1;
    dev_t device = 0;
    ino_t inode = 0;
};

[[noreturn]] void cannotLock(const std::filesystem::path& folder, int err) {
    throw Error(ErrorKind::Io,
                "cannot lock " + folder.string() + " for writing: " + std::strerror(err));
}

OpenFolder openFolder(const std::filesystem::path& folder) {
    OpenFolder open{folder.empty() ? "." : folder};
    open.fd = ::open(open.path.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (open.fd < 0)
        cannotLock(open.path, errno);
    struct stat st {};
    if (::fstat(open.fd, &st) != 0) {
        const int err = errno;
        ::close(open.fd);
        cannotLock(open.path, err);
    }
    open.device = st.st_dev;
    open.inode = st.st_ino;
    return open;
}

// Waits for the folder's lock until `deadline`.
void lockFolder(const OpenFolder& folder, std::chrono::steady_clock::time_point deadline) {
    while (::flock(folder.fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            cannotLock(folder.path, errno);
        if (std::chrono::steady_clock::now() >= deadline)
            throw Error(ErrorKind::Busy, "another update of this folder is in progress");
        std::this_thread::sleep_for(kRetryInterval);
    }
}

} // namespace

WriteLock WriteLock::acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait) {
    return acquireAll({folder}, wait);
}

WriteLock WriteLock::acquireAll(const std::vector<std::filesystem::path>& paths,
                                std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    WriteLock lock;
    std::vector<OpenFolder> folders;
    for (const std::filesystem::path& path : paths) {
        folders.push_back(openFolder(path));
        lock.folders_.push_back(folders.back().fd);
    }
    std::sort(folders.begin(), folders.end(), [](const OpenFolder& a, const OpenFolder& b) {
        return std::pair(a.device, a.inode) < std::pair(b.device, b.inode);
    });
    // One folder reached by two paths is locked once: a second flock() of it from this process
    // would wait for the first.
    for (std::size_t i = 0; i < folders.size(); ++i)
        if (i == 0 || folders[i].device != folders[i - 1].device ||
            folders[i].inode != folders[i - 1].inode)
            lockFolder(folders[i], deadline);
    for (const OpenFolder& folder : folders)
        detail::removeScratchFiles(folder.path);
    return lock;
}

std::filesystem::path WriteLock::folderToLock(const std::filesystem::path& file) {
    std::error_code failed;
    const std::filesystem::path real = std::filesystem::weakly_canonical(file, failed);
    std::filesystem::path folder = (failed ? file : real).parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::chrono::milliseconds WriteLock::defaultWait() {
    return std::chrono::milliseconds(defaultWaitMs.load());
}

void WriteLock::setDefaultWaitForTesting(std::chrono::milliseconds wait) {
    defaultWaitMs.store(wait.count());
}

WriteLock::WriteLock(WriteLock&& other) noexcept : folders_(std::exchange(other.folders_, {})) {}

WriteLock& WriteLock::operator=(WriteLock&& other) noexcept {
    if (this != &other) {
        release();
        folders_ = std::exchange(other.folders_, {});
    }
    return *this;
}

WriteLock::~WriteLock() {
    release();
}

void WriteLock::release() noexcept {
    for (int fd : folders_)
        ::close(fd);
    folders_.clear();
}

} // namespace jet
