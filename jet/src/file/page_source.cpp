#include "file/page_source.h"

#include "file/errors.h"
#include "file/file_mapping.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace jet::detail {

namespace {

[[noreturn]] void failRead(const std::filesystem::path& path, int err) {
    throw Error(ErrorKind::Io, "cannot read " + path.string() + ": " + std::strerror(err));
}

// Reads up to `length` bytes at `offset`; fewer only at the end of the file.
std::size_t readAt(int fd, std::uint8_t* into, std::size_t length, std::uint64_t offset,
                   const std::filesystem::path& path) {
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n =
            ::pread(fd, into + done, length - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            failRead(path, errno);
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

// Pages go to the writer in runs of this many bytes at most.
constexpr std::size_t kWriteRun = std::size_t{1} << 20;

} // namespace

DatabaseFile::DatabaseFile(const std::filesystem::path& path) : path_(path) {
    fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0)
        failRead(path, errno);
    const std::optional<FileIdentity> identity = identityOf(fd_);
    if (!identity) {
        const int err = errno;
        ::close(fd_);
        failRead(path, err);
    }
    identity_ = *identity;
}

DatabaseFile::~DatabaseFile() {
    ::close(fd_);
}

std::vector<std::uint8_t> DatabaseFile::start(std::size_t length) const {
    std::vector<std::uint8_t> bytes(std::min<std::uint64_t>(length, identity_.size));
    bytes.resize(readAt(fd_, bytes.data(), bytes.size(), 0, path_));
    return bytes;
}

PageStore DatabaseFile::pages(std::uint32_t pageSize,
                              std::shared_ptr<const PageCipher> cipher) const {
    std::unique_ptr<FileMapping> mapping = FileMapping::map(fd_, identity_.size);
    if (!mapping) {
        std::vector<std::uint8_t> whole(identity_.size);
        whole.resize(readAt(fd_, whole.data(), whole.size(), 0, path_));
        PageStore store(std::move(whole), pageSize, std::move(cipher));
        store.name_ = path_.string();
        return store;
    }
    PageStore store;
    store.file_ = PageStore::OpenFile(::fcntl(fd_, F_DUPFD_CLOEXEC, 0)); // -1: no runs
    store.stored_ = mapping->data();
    store.damaged_ = &mapping->damaged();
    store.mapping_ = std::move(mapping);
    store.name_ = path_.string();
    store.pageSize_ = pageSize;
    store.fileSize_ = identity_.size;
    store.pageCount_ = static_cast<std::uint32_t>(identity_.size / pageSize);
    if (cipher)
        store.decoded_.resize(store.pageCount_);
    store.cipher_ = std::move(cipher);
    return store;
}

struct SpareRunMemory {
    std::mutex lock;
    std::vector<std::unique_ptr<std::uint8_t[]>> memory;
};

PageStore::PageStore()
    : spareRuns_(std::make_unique<SpareRunMemory>()), decodeLock_(std::make_unique<std::mutex>()) {}
PageStore::~PageStore() = default;
PageStore::PageStore(PageStore&&) noexcept = default;
PageStore& PageStore::operator=(PageStore&&) noexcept = default;

PageStore::PageStore(std::vector<std::uint8_t> file, std::uint32_t pageSize,
                     std::shared_ptr<const PageCipher> cipher)
    : PageStore() {
    held_ = std::move(file);
    stored_ = held_.data();
    pageSize_ = pageSize;
    fileSize_ = held_.size();
    pageCount_ = static_cast<std::uint32_t>(held_.size() / pageSize);
    if (cipher)
        for (std::uint32_t n = 1; n < pageCount_; ++n)
            cipher->decode(std::span(held_.data() + std::size_t{n} * pageSize_, pageSize_), n);
    cipher_ = std::move(cipher);
}

ByteSpan PageStore::storedPage(std::uint32_t number) const {
    const std::size_t offset = std::size_t{number} * pageSize_;
    if (mapping_) {
        checkIntact();
        mapping_->touch(offset, pageSize_);
    }
    return ByteSpan(stored_ + offset, pageSize_);
}

PageStore::OpenFile::~OpenFile() {
    if (fd_ >= 0)
        ::close(fd_);
}

PageRun PageStore::readRun(std::uint32_t first, std::uint32_t count) const {
    PageRun run;
    const std::size_t length = std::size_t{count} * pageSize_;
    if (file_.fd() < 0 || first >= pageCount_ || count > pageCount_ - first ||
        length > kMaxRunBytes || count == 0)
        return run;
    for (std::uint32_t n = first; n < first + count && n < changed_.size(); ++n)
        if (changed_[n])
            return run;
    {
        std::lock_guard<std::mutex> lock(spareRuns_->lock);
        if (!spareRuns_->memory.empty()) {
            run.memory_ = std::move(spareRuns_->memory.back());
            spareRuns_->memory.pop_back();
        }
    }
    if (!run.memory_)
        run.memory_.reset(new std::uint8_t[kMaxRunBytes]);
    run.spare_ = spareRuns_.get();
    run.pageSize_ = pageSize_;
    std::size_t done = 0;
    while (done < length) {
        const ssize_t n = ::pread(file_.fd(), run.memory_.get() + done, length - done,
                                  static_cast<off_t>(std::size_t{first} * pageSize_ + done));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return run; // empty: the mapping, and its guard, will tell what happened
        done += static_cast<std::size_t>(n);
    }
    // An encoded file's pages are decoded in the run, and not kept once the walk has passed.
    if (cipher_)
        for (std::uint32_t n = first; n < first + count; ++n)
            if (n != 0)
                cipher_->decode(
                    std::span(run.memory_.get() + std::size_t{n - first} * pageSize_, pageSize_),
                    n);
    run.first_ = first;
    run.count_ = count;
    return run;
}

PageRun::PageRun(PageRun&& other) noexcept
    : spare_(std::exchange(other.spare_, nullptr)), pageSize_(other.pageSize_),
      memory_(std::move(other.memory_)), first_(other.first_),
      count_(std::exchange(other.count_, 0)) {}

PageRun& PageRun::operator=(PageRun&& other) noexcept {
    if (this != &other) {
        giveBack();
        spare_ = std::exchange(other.spare_, nullptr);
        pageSize_ = other.pageSize_;
        memory_ = std::move(other.memory_);
        first_ = other.first_;
        count_ = std::exchange(other.count_, 0);
    }
    return *this;
}

PageRun::~PageRun() {
    giveBack();
}

void PageRun::giveBack() {
    count_ = 0;
    if (!memory_ || !spare_)
        return;
    try {
        std::lock_guard<std::mutex> lock(spare_->lock);
        spare_->memory.push_back(std::move(memory_));
    } catch (...) {
        memory_.reset(); // no room to keep it: freed instead
    }
}

ByteSpan PageRun::page(std::uint32_t number) const {
    return ByteSpan(memory_.get() + std::size_t{number - first_} * pageSize_, pageSize_);
}

std::size_t PageStore::decodedPagesHeld() const {
    std::lock_guard<std::mutex> lock(*decodeLock_);
    return static_cast<std::size_t>(
        std::count_if(decoded_.begin(), decoded_.end(), [](const PageBuffer& p) { return !!p; }));
}

ByteSpan PageStore::decodedPage(std::uint32_t number) const {
    std::lock_guard<std::mutex> lock(*decodeLock_);
    PageBuffer& page = decoded_[number];
    if (!page) {
        ByteSpan stored = storedPage(number);
        PageBuffer copy(new std::uint8_t[pageSize_]);
        std::memcpy(copy.get(), stored.data(), pageSize_);
        if (number != 0)
            cipher_->decode(std::span(copy.get(), pageSize_), number);
        page = std::move(copy);
    }
    return ByteSpan(page.get(), pageSize_);
}

ByteSpan PageStore::page(std::uint32_t number) const {
    if (number >= pageCount_)
        throwCorruptPage(number, "lies past the end of the file (which has " +
                                     std::to_string(pageCount_) + " pages)");
    if (number < changed_.size() && changed_[number])
        return ByteSpan(changed_[number].get(), pageSize_);
    if (!decoded_.empty())
        return decodedPage(number);
    return storedPage(number);
}

void PageStore::throwCutShort() const {
    throw Error(ErrorKind::Io, "cannot read " + name_ +
                                   ": the file was cut short by another program while it was "
                                   "being read");
}

std::span<std::uint8_t> PageStore::mutablePage(std::uint32_t number) {
    ByteSpan current = page(number); // checks the number
    if (changeHook_)
        changeHook_(number);
    ++generation_;
    if (changed_.size() < pageCount_)
        changed_.resize(pageCount_);
    PageBuffer& copy = changed_[number];
    if (!copy) {
        copy.reset(new std::uint8_t[pageSize_]);
        std::memcpy(copy.get(), current.data(), pageSize_);
    }
    return std::span(copy.get(), pageSize_);
}

std::uint32_t PageStore::appendPage(std::span<const std::uint8_t> newPage) {
    if (newPage.size() != pageSize_)
        throw Error(ErrorKind::Invalid, "a new page must be one page long");
    if (changeHook_)
        changeHook_(pageCount_);
    PageBuffer copy(new std::uint8_t[pageSize_]);
    std::memcpy(copy.get(), newPage.data(), pageSize_);
    changed_.resize(pageCount_);
    changed_.push_back(std::move(copy));
    // Anything past the last whole page (a torn tail) is dropped rather than shifted into it.
    fileSize_ = (std::uint64_t{pageCount_} + 1) * pageSize_;
    ++generation_;
    return pageCount_++;
}

void PageStore::writeFile(const std::function<void(ByteSpan)>& write) const {
    std::vector<std::uint8_t> run;
    run.reserve(kWriteRun);
    for (std::uint32_t n = 0; n < pageCount_; ++n) {
        ByteSpan bytes = page(n);
        run.insert(run.end(), bytes.begin(), bytes.end());
        if (cipher_ && n != 0)
            cipher_->encode(std::span(run.data() + run.size() - pageSize_, pageSize_), n);
        if (run.size() + pageSize_ > kWriteRun) {
            write(run);
            run.clear();
        }
    }
    if (!run.empty())
        write(run);
    checkIntact();
}

ByteSpan PageStore::pageOfType(std::uint32_t number, std::uint8_t type, const char* what) const {
    ByteSpan bytes = page(number);
    if (bytes[0] != type)
        throwCorruptPage(number, std::string("expected ") + what + " but found page type " +
                                     std::to_string(bytes[0]));
    return bytes;
}

} // namespace jet::detail
