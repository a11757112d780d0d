// The lock is flock() on the folder itself: no lock file litters the folder, and the lock of a
// writer that is killed vanishes with its process.
#include "jet/write_lock.h"

#include "file/scratch_files.h"
#include "jet/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <thread>
#include <unistd.h>
#include <utility>

namespace jet {

namespace {

constexpr auto kRetryInterval = std::chrono::milliseconds(20);

} // namespace

WriteLock WriteLock::acquire(const std::filesystem::path& folder, std::chrono::milliseconds wait) {
    const std::filesystem::path where = folder.empty() ? "." : folder;
    const int fd = ::open(where.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        throw Error(ErrorKind::Io,
                    "cannot lock " + where.string() + " for writing: " + std::strerror(errno));
    WriteLock lock(fd);
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        if (errno == EINTR)
            continue;
        if (errno != EWOULDBLOCK)
            throw Error(ErrorKind::Io,
                        "cannot lock " + where.string() + " for writing: " + std::strerror(errno));
        if (std::chrono::steady_clock::now() >= deadline)
            throw Error(ErrorKind::Busy, "another update of this folder is in progress");
        std::this_thread::sleep_for(kRetryInterval);
    }
    detail::removeScratchFiles(where);
    return lock;
}

WriteLock::WriteLock(WriteLock&& other) noexcept : folder_(std::exchange(other.folder_, -1)) {}

WriteLock& WriteLock::operator=(WriteLock&& other) noexcept {
    if (this != &other) {
        if (folder_ >= 0)
            ::close(folder_);
        folder_ = std::exchange(other.folder_, -1);
    }
    return *this;
}

WriteLock::~WriteLock() {
    if (folder_ >= 0)
        ::close(folder_);
}

} // namespace jet
