#include "file/file_mapping.h"

#include <bit>
#include <csignal>
#include <mutex>
#include <sys/mman.h>
#include <unistd.h>

namespace jet::detail {

namespace {

// 2 MiB: the most the system maps at the touch of one page. Fault-around maps 64 KiB, but a file
// system that caches the file in large folios (ext4, XFS: read-ahead of megabytes) has the
// whole folio mapped, up to 2 MiB and aligned to it; counted in smaller windows, resident memory
// would reach many times the budget.
constexpr std::size_t kWindowShift = 21;
std::atomic<std::size_t> windowShift{kWindowShift};
std::atomic<std::size_t> residentBudget{std::size_t{16} << 20};

// The mappings the bus-error guard protects. The handler only reads these slots, with atomics, so
// it never waits for a lock a reader holds.
struct GuardSlot {
    std::atomic<bool> used{false};
    std::atomic<std::uintptr_t> begin{0};
    std::atomic<std::size_t> length{0};
    std::atomic<bool> damaged{false};
};
constexpr int kGuardSlots = 256;
GuardSlot guardSlots[kGuardSlots];
struct sigaction previousAction {};
std::size_t systemPageSize = 4096;

void onBusError(int signal, siginfo_t* info, void* context) {
    const auto address = reinterpret_cast<std::uintptr_t>(info->si_addr);
    for (GuardSlot& slot : guardSlots) {
        const std::uintptr_t begin = slot.begin.load(std::memory_order_acquire);
        if (begin == 0 || address < begin ||
            address - begin >= slot.length.load(std::memory_order_acquire))
            continue;
        // Zeros where the file has no bytes any more; the access is then repeated and succeeds.
        void* page = reinterpret_cast<void*>(address & ~(systemPageSize - 1));
        if (::mmap(page, systemPageSize, PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_FIXED, -1,
                   0) != MAP_FAILED) {
            slot.damaged.store(true, std::memory_order_release);
            return;
        }
        break;
    }
    // Not a guarded mapping: whatever would have happened without the guard.
    if (previousAction.sa_flags & SA_SIGINFO) {
        if (previousAction.sa_sigaction) {
            previousAction.sa_sigaction(signal, info, context);
            return;
        }
    } else if (previousAction.sa_handler != SIG_DFL && previousAction.sa_handler != SIG_IGN) {
        previousAction.sa_handler(signal);
        return;
    }
    std::signal(SIGBUS, SIG_DFL); // the access is repeated and ends the process as it would have
}

void installGuard() {
    static std::once_flag once;
    std::call_once(once, [] {
        const long page = ::sysconf(_SC_PAGESIZE);
        if (page > 0)
            systemPageSize = static_cast<std::size_t>(page);
        struct sigaction action {};
        action.sa_sigaction = &onBusError;
        action.sa_flags = SA_SIGINFO | SA_NODEFER;
        sigemptyset(&action.sa_mask);
        ::sigaction(SIGBUS, &action, &previousAction);
    });
}

int claimGuardSlot(std::uintptr_t begin, std::size_t length) {
    for (int i = 0; i < kGuardSlots; ++i) {
        bool expected = false;
        if (!guardSlots[i].used.compare_exchange_strong(expected, true))
            continue;
        guardSlots[i].damaged.store(false);
        guardSlots[i].length.store(length, std::memory_order_release);
        guardSlots[i].begin.store(begin, std::memory_order_release);
        return i;
    }
    return -1;
}

void releaseGuardSlot(int i) {
    guardSlots[i].begin.store(0, std::memory_order_release);
    guardSlots[i].length.store(0, std::memory_order_release);
    guardSlots[i].used.store(false, std::memory_order_release);
}

} // namespace

std::unique_ptr<FileMapping> FileMapping::map(int fd, std::size_t size) {
    if (size == 0)
        return nullptr;
    installGuard();
    void* data = ::mmap(nullptr, size, PROT_READ, MAP_SHARED, fd, 0);
    if (data == MAP_FAILED)
        return nullptr;
    const int slot = claimGuardSlot(reinterpret_cast<std::uintptr_t>(data), size);
    if (slot < 0) {
        ::munmap(data, size);
        return nullptr;
    }
    return std::unique_ptr<FileMapping>(
        new FileMapping(static_cast<std::uint8_t*>(data), size, slot));
}

FileMapping::FileMapping(std::uint8_t* data, std::size_t size, int guardSlot)
    : data_(data), size_(size), guardSlot_(guardSlot), windowShift_(windowShift.load()),
      touched_(new std::atomic<std::uint64_t>[words()]) {
    const std::size_t words = this->words();
    for (std::size_t i = 0; i < words; ++i)
        touched_[i].store(0, std::memory_order_relaxed);
}

FileMapping::~FileMapping() {
    releaseGuardSlot(guardSlot_);
    ::munmap(data_, size_);
}

void FileMapping::touch(std::size_t offset, std::size_t length) const {
    const std::size_t window = std::size_t{1} << windowShift_;
    const std::size_t first = offset >> windowShift_;
    const std::size_t last = (offset + length - 1) >> windowShift_;
    for (std::size_t w = first; w <= last; ++w) {
        std::atomic<std::uint64_t>& word = touched_[w / 64];
        const std::uint64_t bit = std::uint64_t{1} << (w % 64);
        if (word.load(std::memory_order_relaxed) & bit)
            continue;
        word.fetch_or(bit, std::memory_order_relaxed);
        if (touchedBytes_.fetch_add(window, std::memory_order_relaxed) + window >
            residentBudget.load(std::memory_order_relaxed))
            trim();
    }
}

void FileMapping::trim() const {
    // Views handed out stay valid: the bytes are read from the file again when next touched.
    ::madvise(data_, size_, MADV_DONTNEED);
    for (std::size_t i = 0, n = words(); i < n; ++i)
        touched_[i].store(0, std::memory_order_relaxed);
    touchedBytes_.store(0, std::memory_order_relaxed);
}

const std::atomic<bool>& FileMapping::damaged() const {
    return guardSlots[guardSlot_].damaged;
}

std::size_t FileMapping::words() const {
    return ((size_ >> windowShift_) + 1) / 64 + 1;
}

void FileMapping::setResidentBudgetForTesting(std::size_t bytes, std::size_t windowBytes) {
    residentBudget.store(bytes);
    windowShift.store(windowBytes == 0 ? kWindowShift
                                       : static_cast<std::size_t>(std::countr_zero(windowBytes)));
}

} // namespace jet::detail
