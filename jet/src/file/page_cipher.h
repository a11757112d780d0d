// How the pages after the header are stored in an encrypted file: decoded in place as they are
// read, encoded again in place as a writer stores them. Page 0, the header, is never coded.
// Jet 3 and Jet 4 files code their pages with RC4 (here); Office-encrypted Access 2007 and later
// files with the ciphers of `crypto/`, chosen by crypto/page_ciphers.h.
//
// A cipher is immutable once made and safe to call from several threads at once: parallel walks
// decode their runs of pages themselves.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>

namespace jet::detail {

class PageCipher {
public:
    virtual ~PageCipher() = default;
    // `page` is one whole page; `number` its page number (1 and up).
    virtual void decode(std::span<std::uint8_t> page, std::uint32_t number) const = 0;
    virtual void encode(std::span<std::uint8_t> page, std::uint32_t number) const = 0;
};

// Applies (or removes: it is its own inverse) the per-page RC4 encoding of a Jet 3 or Jet 4
// "encrypted" database, keyed by the header's encoding key and the page number.
void applyPageEncoding(std::span<std::uint8_t> page, std::uint32_t number, std::uint32_t key);

// The cipher of a Jet 3 or Jet 4 file whose header holds the non-zero encoding key `key`.
std::shared_ptr<const PageCipher> jetPageCipher(std::uint32_t key);

// The four bytes every page's key starts from: the header's encoding key XOR the page number,
// little-endian, as both Jet's RC4 and Office's ciphers use them.
inline std::array<std::uint8_t, 4> pageKeyBytes(std::uint32_t encodingKey, std::uint32_t number) {
    const std::uint32_t pageKey = encodingKey ^ number;
    return {static_cast<std::uint8_t>(pageKey), static_cast<std::uint8_t>(pageKey >> 8),
            static_cast<std::uint8_t>(pageKey >> 16), static_cast<std::uint8_t>(pageKey >> 24)};
}

} // namespace jet::detail
