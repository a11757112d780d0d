#include "jet/atomic_file.h"

#include "jet/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

CommitHook& hook() {
    static CommitHook h;
    return h;
}

void step(CommitStep s) {
    if (hook())
        hook()(s);
}

[[noreturn]] void fail(const std::filesystem::path& path, const std::string& what, int err) {
    throw Error(ErrorKind::Io, "cannot write " + path.string() + ": " + what +
                                   (err ? std::string(" (") + std::strerror(err) + ")" : ""));
}

// Removes the temporary file unless the replacement went through.
struct TempFile {
    std::string name;
    int fd = -1;
    bool keep = false;
    ~TempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!keep && !name.empty())
            ::unlink(name.c_str());
    }
};

} // namespace

void setCommitHookForTesting(CommitHook h) {
    hook() = std::move(h);
}

void replaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    std::filesystem::path folder = path.parent_path();
    if (folder.empty())
        folder = ".";

    TempFile temp;
    step(CommitStep::CreateTemp);
    std::string pattern = (folder / ("." + path.filename().string() + ".XXXXXX")).string();
    temp.fd = ::mkstemp(pattern.data());
    if (temp.fd < 0)
        fail(path, "cannot create a temporary file in " + folder.string(), errno);
    temp.name = pattern;

    // Keep the permissions of the file being replaced.
    struct stat old {};
    if (::stat(path.c_str(), &old) == 0)
        ::fchmod(temp.fd, old.st_mode & 07777);
    else
        ::fchmod(temp.fd, 0644);

    step(CommitStep::WriteTemp);
    std::size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = ::write(temp.fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            fail(path, "writing the new contents failed", errno);
        done += static_cast<std::size_t>(n);
    }

    step(CommitStep::SyncTemp);
    if (::fsync(temp.fd) != 0)
        fail(path, "flushing the new contents failed", errno);

    step(CommitStep::CloseTemp);
    int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        fail(path, "closing the new contents failed", errno);

    step(CommitStep::Rename);
    if (::rename(temp.name.c_str(), path.c_str()) != 0)
        fail(path, "replacing the old file failed", errno);
    temp.keep = true;

    // The rename is durable only once the folder is flushed; the new contents are in place
    // either way, so a failure here is still reported.
    step(CommitStep::SyncFolder);
    int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dir < 0)
        fail(path, "flushing the folder failed", errno);
    int rc = ::fsync(dir);
    int err = errno;
    ::close(dir);
    if (rc != 0)
        fail(path, "flushing the folder failed", err);
}

} // namespace jet
