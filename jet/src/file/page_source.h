// The database file as numbered pages, read from the file when asked: mapped into memory where
// the system allows (see file_mapping.h), otherwise read whole. Page-encoded files are decoded
// page by page as pages are first asked for, so everything above sees plain pages. Page 0 (the
// header) is kept as stored.
//
// A view of a page stays valid as long as the store: pages are never moved or dropped while
// the store lives. A writer's changes go to copies of the pages it changes and to the pages it
// adds; the rest is still read from the file, and writeFile() streams both, in page order.
#pragma once

#include "file/bytes.h"
#include "file/file_identity.h"
#include "file/page_cipher.h"

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

namespace jet::detail {

class FileMapping;
class PageStore;
struct SpareRunMemory;

// A run of consecutive pages copied from the file at once, in memory the store lends (and takes
// back when the run ends), for a walk that reads pages in order. See PageStore::readRun().
class PageRun {
public:
    PageRun() = default;
    PageRun(PageRun&& other) noexcept;
    PageRun& operator=(PageRun&& other) noexcept;
    ~PageRun();

    bool holds(std::uint32_t page) const { return page - first_ < count_; }
    // A page the run holds; valid while the run lives.
    ByteSpan page(std::uint32_t number) const;

private:
    friend class PageStore;
    void giveBack();

    SpareRunMemory* spare_ = nullptr; // where the memory goes back to
    std::size_t pageSize_ = 0;
    std::unique_ptr<std::uint8_t[]> memory_;
    std::uint32_t first_ = 0;
    std::uint32_t count_ = 0;
};

// A database file open for reading; ErrorKind Io when the system refuses.
class DatabaseFile {
public:
    explicit DatabaseFile(const std::filesystem::path& path);
    ~DatabaseFile();
    DatabaseFile(const DatabaseFile&) = delete;
    DatabaseFile& operator=(const DatabaseFile&) = delete;

    // Of the file as it was opened.
    const FileIdentity& identity() const { return identity_; }
    // Its first `length` bytes, or all of it when it is shorter.
    std::vector<std::uint8_t> start(std::size_t length) const;
    // Its pages, read on demand, decoded by `cipher` (none: they are stored plain).
    PageStore pages(std::uint32_t pageSize, std::shared_ptr<const PageCipher> cipher) const;

private:
    std::filesystem::path path_;
    int fd_ = -1;
    FileIdentity identity_;
};

class PageStore {
public:
    PageStore();
    // Pages held in memory, decoded by `cipher` (none: they are stored plain).
    PageStore(std::vector<std::uint8_t> file, std::uint32_t pageSize,
              std::shared_ptr<const PageCipher> cipher);
    ~PageStore();
    PageStore(PageStore&&) noexcept;
    PageStore& operator=(PageStore&&) noexcept;

    std::uint32_t pageSize() const { return pageSize_; }
    std::uint32_t pageCount() const { return pageCount_; }
    std::uint64_t fileSize() const { return fileSize_; }
    bool contains(std::uint32_t page) const { return page < pageCount_; }

    // The bytes of one page; ErrorKind Corrupt naming the page when it lies past the end, Io when
    // the file was cut short by another program while it was being read.
    ByteSpan page(std::uint32_t number) const;
    // Same, but also checks the page type byte; `what` says what the caller expected there.
    ByteSpan pageOfType(std::uint32_t number, std::uint8_t type, const char* what) const;
    // Pages [first, first + count) copied from the file with one read, for a walk that reads
    // them in order: cheaper than touching a mapping page by page, and the copies are in the
    // processor's cache when read. Runs lend memory from the store and give it back, so walk
    // after walk reuses the same memory; an encoded file's pages are decoded in it. An empty run
    // when the pages cannot come straight from the file: more than kMaxRunBytes, a file read
    // whole, a page this store has changed, a page past the end, or a file cut short meanwhile;
    // page() then reads them.
    static constexpr std::size_t kMaxRunBytes = std::size_t{64} << 10;
    PageRun readRun(std::uint32_t first, std::uint32_t count) const;
    // ErrorKind Io when pages already read may have come from a file cut short meanwhile.
    void checkIntact() const {
        if (damaged_ && damaged_->load(std::memory_order_acquire))
            throwCutShort();
    }

    // Writing: a page to change in place, a page added at the end (returning its number), and
    // the whole file as it is to be stored, pages encoded again by the store's cipher, handed to
    // `write` piece by piece in order.
    std::span<std::uint8_t> mutablePage(std::uint32_t number);
    std::uint32_t appendPage(std::span<const std::uint8_t> page);
    void writeFile(const std::function<void(ByteSpan)>& write) const;
    // Encoded files: how many decoded pages the store keeps (pages read outside a walk's runs).
    std::size_t decodedPagesHeld() const;
    // Counts the changes: what was read from the pages before a change may be stale.
    std::uint64_t generation() const { return generation_; }
    // Test-only seam, set by nothing else: `hook` runs before each change to a page
    // (mutablePage, appendPage) with the page's number, and throwing from it makes that change
    // fail, so a test can fail an append after its first pages have changed.
    void setChangeHookForTesting(std::function<void(std::uint32_t)> hook) {
        changeHook_ = std::move(hook);
    }

private:
    friend class DatabaseFile;
    using PageBuffer = std::unique_ptr<std::uint8_t[]>;

    // A descriptor of the store's own, so runs read the file it mapped however long it lives.
    class OpenFile {
    public:
        OpenFile() = default;
        explicit OpenFile(int fd) : fd_(fd) {}
        OpenFile(OpenFile&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
        OpenFile& operator=(OpenFile&& other) noexcept {
            std::swap(fd_, other.fd_);
            return *this;
        }
        ~OpenFile();
        int fd() const { return fd_; }

    private:
        int fd_ = -1;
    };

    ByteSpan storedPage(std::uint32_t number) const;
    [[noreturn]] void throwCutShort() const;
    ByteSpan decodedPage(std::uint32_t number) const;

    OpenFile file_;                              // the file mapped, read by runs
    std::unique_ptr<SpareRunMemory> spareRuns_;  // memory of runs that ended, for the next
    std::unique_ptr<FileMapping> mapping_;       // the file mapped, or
    const std::atomic<bool>* damaged_ = nullptr; // the mapping's guard flag
    std::vector<std::uint8_t> held_;             // the file read whole
    const std::uint8_t* stored_ = nullptr;       // its bytes, as stored
    std::string name_;                           // for messages
    std::uint32_t pageSize_ = 0;
    std::uint32_t pageCount_ = 0;
    std::uint64_t fileSize_ = 0;
    std::shared_ptr<const PageCipher> cipher_; // how the file codes its pages; none: plain
    std::uint64_t generation_ = 0;
    // Encoded files read from a mapping: the pages decoded so far, by number (empty otherwise).
    mutable std::vector<PageBuffer> decoded_;
    mutable std::unique_ptr<std::mutex> decodeLock_;
    // The pages changed or added, by number (empty until the first change).
    std::vector<PageBuffer> changed_;
    std::function<void(std::uint32_t)> changeHook_;
};

} // namespace jet::detail
