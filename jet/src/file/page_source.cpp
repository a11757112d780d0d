#include "file/page_source.h"

#include "file/errors.h"
#include "file/rc4.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>

namespace jet::detail {

std::vector<std::uint8_t> readWholeFile(const std::filesystem::path& path, FileIdentity* identity) {
    auto fail = [&](int err) -> std::vector<std::uint8_t> {
        throw Error(ErrorKind::Io, "cannot read " + path.string() + ": " + std::strerror(err));
    };
    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"),
                                                         &std::fclose);
    if (!file)
        return fail(errno);
    std::vector<std::uint8_t> bytes;
    std::array<std::uint8_t, 1 << 16> chunk;
    while (true) {
        std::size_t n = std::fread(chunk.data(), 1, chunk.size(), file.get());
        bytes.insert(bytes.end(), chunk.data(), chunk.data() + n);
        if (n < chunk.size()) {
            if (std::ferror(file.get()))
                return fail(errno ? errno : EIO);
            break;
        }
    }
    if (identity) {
        const std::optional<FileIdentity> read = identityOf(::fileno(file.get()));
        if (!read)
            return fail(errno);
        *identity = *read;
    }
    return bytes;
}

void applyPageEncoding(std::span<std::uint8_t> page, std::uint32_t number, std::uint32_t key) {
    const std::uint32_t pageKey = key ^ number;
    const std::array<std::uint8_t, 4> keyBytes{
        static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
        static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
    rc4Apply(keyBytes, page);
}

PageStore::PageStore(std::vector<std::uint8_t> file, std::uint32_t pageSize,
                     std::uint32_t encodingKey)
    : bytes_(std::move(file)), pageSize_(pageSize),
      pageCount_(static_cast<std::uint32_t>(bytes_.size() / pageSize)) {
    if (encodingKey == 0)
        return;
    for (std::uint32_t n = 1; n < pageCount_; ++n)
        applyPageEncoding(std::span(bytes_.data() + std::size_t{n} * pageSize_, pageSize_), n,
                          encodingKey);
}

ByteSpan PageStore::page(std::uint32_t number) const {
    if (number >= pageCount_)
        throwCorruptPage(number, "lies past the end of the file (which has " +
                                     std::to_string(pageCount_) + " pages)");
    return ByteSpan(bytes_.data() + std::size_t{number} * pageSize_, pageSize_);
}

std::span<std::uint8_t> PageStore::mutablePage(std::uint32_t number) {
    page(number); // checks the number
    ++generation_;
    return std::span(bytes_.data() + std::size_t{number} * pageSize_, pageSize_);
}

std::uint32_t PageStore::appendPage(std::span<const std::uint8_t> newPage) {
    if (newPage.size() != pageSize_)
        throw Error(ErrorKind::Invalid, "a new page must be one page long");
    // Anything past the last whole page (a torn tail) is dropped rather than shifted into it.
    bytes_.resize(std::size_t{pageCount_} * pageSize_);
    bytes_.insert(bytes_.end(), newPage.begin(), newPage.end());
    ++generation_;
    return pageCount_++;
}

std::vector<std::uint8_t> PageStore::fileBytes(std::uint32_t encodingKey) const {
    std::vector<std::uint8_t> out(bytes_.begin(),
                                  bytes_.begin() + std::size_t{pageCount_} * pageSize_);
    if (encodingKey != 0)
        for (std::uint32_t n = 1; n < pageCount_; ++n)
            applyPageEncoding(std::span(out.data() + std::size_t{n} * pageSize_, pageSize_), n,
                              encodingKey);
    return out;
}

ByteSpan PageStore::pageOfType(std::uint32_t number, std::uint8_t type, const char* what) const {
    ByteSpan bytes = page(number);
    if (bytes[0] != type)
        throwCorruptPage(number, std::string("expected ") + what + " but found page type " +
                                     std::to_string(bytes[0]));
    return bytes;
}

} // namespace jet::detail
