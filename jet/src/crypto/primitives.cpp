#include "crypto/primitives.h"

#include "jet/error.h"

#include <memory>
#include <new>
#include <openssl/evp.h>

namespace jet::detail {

namespace {

const EVP_MD* digestOf(HashAlgorithm algorithm) {
    switch (algorithm) {
    case HashAlgorithm::Md5:
        return EVP_md5();
    case HashAlgorithm::Sha1:
        return EVP_sha1();
    case HashAlgorithm::Sha256:
        return EVP_sha256();
    case HashAlgorithm::Sha384:
        return EVP_sha384();
    case HashAlgorithm::Sha512:
        return EVP_sha512();
    }
    return EVP_sha1();
}

// The library refuses only for want of memory or a broken installation: callers check every
// length a file gives before it gets here.
void require(int ok) {
    if (ok != 1)
        throw Error(ErrorKind::Io, "the system's cryptography library (OpenSSL) failed");
}

struct DigestContextFree {
    void operator()(EVP_MD_CTX* c) const { EVP_MD_CTX_free(c); }
};
struct CipherContextFree {
    void operator()(EVP_CIPHER_CTX* c) const { EVP_CIPHER_CTX_free(c); }
};

const EVP_CIPHER* aesCipher(ChainingMode mode, std::size_t keySize) {
    const int bits = static_cast<int>(keySize * 8);
    switch (mode) {
    case ChainingMode::Ecb:
        return bits == 128   ? EVP_aes_128_ecb()
               : bits == 192 ? EVP_aes_192_ecb()
                             : EVP_aes_256_ecb();
    case ChainingMode::Cbc:
        return bits == 128   ? EVP_aes_128_cbc()
               : bits == 192 ? EVP_aes_192_cbc()
                             : EVP_aes_256_cbc();
    case ChainingMode::Cfb:
        return bits == 128   ? EVP_aes_128_cfb8()
               : bits == 192 ? EVP_aes_192_cfb8()
                             : EVP_aes_256_cfb8();
    }
    return nullptr;
}

void aesApply(bool encrypt, ChainingMode mode, ByteSpan key, ByteSpan iv,
              std::span<std::uint8_t> data) {
    if ((key.size() != 16 && key.size() != 24 && key.size() != 32) || data.size() % 16 != 0 ||
        (mode != ChainingMode::Ecb && iv.size() != 16))
        throw Error(ErrorKind::Corrupt, "an AES key, IV or block of the wrong size");
    std::unique_ptr<EVP_CIPHER_CTX, CipherContextFree> context(EVP_CIPHER_CTX_new());
    if (!context)
        throw std::bad_alloc();
    require(EVP_CipherInit_ex(context.get(), aesCipher(mode, key.size()), nullptr, key.data(),
                              mode == ChainingMode::Ecb ? nullptr : iv.data(), encrypt ? 1 : 0));
    require(EVP_CIPHER_CTX_set_padding(context.get(), 0));
    int length = 0;
    require(EVP_CipherUpdate(context.get(), data.data(), &length, data.data(),
                             static_cast<int>(data.size())));
}

} // namespace

std::optional<HashAlgorithm> hashAlgorithmNamed(std::string_view name) {
    if (name == "MD5")
        return HashAlgorithm::Md5;
    if (name == "SHA1" || name == "SHA-1")
        return HashAlgorithm::Sha1;
    if (name == "SHA256")
        return HashAlgorithm::Sha256;
    if (name == "SHA384")
        return HashAlgorithm::Sha384;
    if (name == "SHA512")
        return HashAlgorithm::Sha512;
    return std::nullopt;
}

std::size_t hashSize(HashAlgorithm algorithm) {
    return static_cast<std::size_t>(EVP_MD_get_size(digestOf(algorithm)));
}

Bytes hashOf(HashAlgorithm algorithm, std::initializer_list<ByteSpan> parts) {
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context)
        throw std::bad_alloc();
    require(EVP_DigestInit_ex(context.get(), digestOf(algorithm), nullptr));
    for (ByteSpan part : parts)
        require(EVP_DigestUpdate(context.get(), part.data(), part.size()));
    Bytes out(hashSize(algorithm));
    require(EVP_DigestFinal_ex(context.get(), out.data(), nullptr));
    return out;
}

Bytes iterateHash(HashAlgorithm algorithm, Bytes hash, std::uint32_t count) {
    std::unique_ptr<EVP_MD_CTX, DigestContextFree> context(EVP_MD_CTX_new());
    if (!context)
        throw std::bad_alloc();
    const EVP_MD* digest = digestOf(algorithm);
    hash.resize(hashSize(algorithm));
    for (std::uint32_t i = 0; i < count; ++i) {
        const std::uint8_t counter[4] = {
            static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(i >> 8),
            static_cast<std::uint8_t>(i >> 16), static_cast<std::uint8_t>(i >> 24)};
        require(EVP_DigestInit_ex(context.get(), digest, nullptr));
        require(EVP_DigestUpdate(context.get(), counter, sizeof counter));
        require(EVP_DigestUpdate(context.get(), hash.data(), hash.size()));
        require(EVP_DigestFinal_ex(context.get(), hash.data(), nullptr));
    }
    return hash;
}

void aesDecrypt(ChainingMode mode, ByteSpan key, ByteSpan iv, std::span<std::uint8_t> data) {
    aesApply(false, mode, key, iv, data);
}

void aesEncrypt(ChainingMode mode, ByteSpan key, ByteSpan iv, std::span<std::uint8_t> data) {
    aesApply(true, mode, key, iv, data);
}

Bytes fixedLength(Bytes bytes, std::size_t length, std::uint8_t pad) {
    bytes.resize(length, pad);
    return bytes;
}

} // namespace jet::detail
