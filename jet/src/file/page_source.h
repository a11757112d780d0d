// The database file as numbered pages. The whole file is read once; page-encoded files are
// decoded here, so everything above sees plain pages. Page 0 (the header) is kept as stored.
#pragma once

#include "file/bytes.h"
#include "file/file_identity.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace jet::detail {

// Reads a whole file; ErrorKind Io when the system refuses. `identity`, when given, receives the
// identity of the file read (as it was when its reading ended).
std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path,
                                        FileIdentity* identity = nullptr);

class PageStore {
public:
    PageStore() = default;
    // `encodingKey` 0 means the pages are stored plain.
    PageStore(std::vector<std::uint8_t> file, std::uint32_t pageSize, std::uint32_t encodingKey);

    std::uint32_t pageSize() const { return pageSize_; }
    std::uint32_t pageCount() const { return pageCount_; }
    std::size_t fileSize() const { return bytes_.size(); }
    bool contains(std::uint32_t page) const { return page < pageCount_; }

    // The bytes of one page; ErrorKind Corrupt naming the page when it lies past the end.
    ByteSpan page(std::uint32_t number) const;
    // Same, but also checks the page type byte; `what` says what the caller expected there.
    ByteSpan pageOfType(std::uint32_t number, std::uint8_t type, const char* what) const;

    // Writing: a page to change in place, a page added at the end (returning its number), and
    // the whole file as it is to be stored, pages encoded again with `encodingKey`.
    std::span<std::uint8_t> mutablePage(std::uint32_t number);
    std::uint32_t appendPage(std::span<const std::uint8_t> page);
    std::vector<std::uint8_t> fileBytes(std::uint32_t encodingKey) const;
    // Counts the changes: what was read from the pages before a change may be stale.
    std::uint64_t generation() const { return generation_; }

private:
    std::vector<std::uint8_t> bytes_;
    std::uint32_t pageSize_ = 0;
    std::uint32_t pageCount_ = 0;
    std::uint64_t generation_ = 0;
};

// Applies (or removes: it is its own inverse) the per-page RC4 encoding of an encoded database.
void applyPageEncoding(std::span<std::uint8_t> page, std::uint32_t number, std::uint32_t key);

} // namespace jet::detail
