#include "jet/atomic_file.h"

#include "file/atomic_replace.h"
#include "file/scratch_files.h"
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

// The file the new contents replace: a symbolic link's target, so that the link stays a link.
std::filesystem::path fileToReplace(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_symlink(path, error))
        return path;
    std::filesystem::path target = std::filesystem::canonical(path, error);
    return error ? path : target;
}

// Read-only to this writer; a file without any write permission counts as read-only even for
// a writer (the superuser) whom the system would let through.
bool isReadOnly(const std::filesystem::path& file, const struct stat& st) {
    return ::access(file.c_str(), W_OK) != 0 ? errno == EACCES || errno == EROFS || errno == EPERM
                                             : (st.st_mode & 0222) == 0;
}

} // namespace

void setCommitHookForTesting(CommitHook h) {
    hook() = std::move(h);
}

void replaceFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    replaceFileAtomically(path, [&](const ContentsWriter& write) { write(bytes); });
}

void replaceFileAtomically(const std::filesystem::path& path,
                           const std::function<void(const ContentsWriter&)>& produce) {
    std::optional<detail::FileIdentity> written;
    detail::replaceFileAtomically(path, produce, written);
}

void detail::replaceFileAtomically(const std::filesystem::path& path,
                                   const std::function<void(const ContentsWriter&)>& produce,
                                   std::optional<FileIdentity>& written,
                                   const std::function<void()>& beforeRename) {
    const std::filesystem::path target = fileToReplace(path);
    std::filesystem::path folder = target.parent_path();
    if (folder.empty())
        folder = ".";

    struct stat old {};
    const bool replacing = ::stat(target.c_str(), &old) == 0;
    if (replacing && isReadOnly(target, old))
        throw Error(ErrorKind::Io, path.string() + ": the file is read-only; nothing was written");

    TempFile temp;
    step(CommitStep::CreateTemp);
    std::string pattern = detail::scratchTemplate(target);
    temp.fd = ::mkstemp(pattern.data());
    if (temp.fd < 0)
        fail(path, "cannot create a temporary file in " + folder.string(), errno);
    temp.name = pattern;

    // The new file keeps the old one's owner and group where this writer may give them, and its
    // permissions (set last: a change of owner may clear some of them).
    if (replacing) {
        if (::fchown(temp.fd, old.st_uid, old.st_gid) != 0 && errno != EPERM)
            fail(path, "giving the new contents the old owner failed", errno);
        ::fchmod(temp.fd, old.st_mode & 07777);
    } else {
        ::fchmod(temp.fd, 0644);
    }

    step(CommitStep::WriteTemp);
    produce([&](std::span<const std::uint8_t> bytes) {
        std::size_t done = 0;
        while (done < bytes.size()) {
            ssize_t n = ::write(temp.fd, bytes.data() + done, bytes.size() - done);
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                fail(path, "writing the new contents failed", errno);
            done += static_cast<std::size_t>(n);
        }
    });

    step(CommitStep::SyncTemp);
    if (::fsync(temp.fd) != 0)
        fail(path, "flushing the new contents failed", errno);

    const std::optional<detail::FileIdentity> contents = detail::identityOf(temp.fd);

    step(CommitStep::CloseTemp);
    int fd = temp.fd;
    temp.fd = -1;
    if (::close(fd) != 0)
        fail(path, "closing the new contents failed", errno);

    step(CommitStep::Rename);
    if (beforeRename)
        beforeRename();
    if (::rename(temp.name.c_str(), target.c_str()) != 0)
        fail(path, "replacing the old file failed", errno);
    temp.keep = true;
    written = contents;

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
