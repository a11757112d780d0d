// A database file mapped read-only into memory, so that pages are read from the file when they
// are first touched and never copied. Two things keep this safe and small:
// - Resident memory stays bounded: once the pages touched since the last trim pass a budget, the
//   mapping gives its memory back. The bytes stay where they were (the system reads them from the
//   file again when next touched), so views of pages handed out earlier remain valid.
// - A file cut short by another program while mapped would kill the process on the next touch of
//   a page past its new end. A guard catches that, puts zeros in place of the lost bytes and marks
//   the mapping damaged; the reader then reports the file as changed instead of crashing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>

namespace jet::detail {

class FileMapping {
public:
    // Maps `size` bytes of the open file `fd` (which the mapping does not keep). Nullptr when the
    // system cannot map it or the guard has no room for another mapping: the caller reads the
    // file another way.
    static std::unique_ptr<FileMapping> map(int fd, std::size_t size);
    ~FileMapping();
    FileMapping(const FileMapping&) = delete;
    FileMapping& operator=(const FileMapping&) = delete;

    const std::uint8_t* data() const { return data_; }
    std::size_t size() const { return size_; }

    // Notes that the bytes at [offset, offset + length) are about to be read, trimming resident
    // memory when the budget is spent.
    void touch(std::size_t offset, std::size_t length) const;
    // Set once a touch found bytes gone from the file.
    const std::atomic<bool>& damaged() const;

    // How many bytes may be touched between trims, counted in windows of `windowBytes` (a power of
    // two; 0: the most the system maps at one touch, 2 MiB); tests lower both, and the window
    // takes effect for mappings made after.
    static void setResidentBudgetForTesting(std::size_t bytes, std::size_t windowBytes = 0);

private:
    FileMapping(std::uint8_t* data, std::size_t size, int guardSlot);
    void trim() const;
    std::size_t words() const; // of the bitmap of touched windows

    std::uint8_t* data_;
    std::size_t size_;
    int guardSlot_;
    std::size_t windowShift_;
    // One bit a window of the file: touched since the last trim.
    mutable std::unique_ptr<std::atomic<std::uint64_t>[]> touched_;
    mutable std::atomic<std::size_t> touchedBytes_{0};
};

} // namespace jet::detail
