// RC4 and AES through the CryptoAPI (EncryptionInfo versions 2.2, 3.2 and 4.2): the descriptor
// holds its flags, a header naming the algorithms and key size, and a verifier (a salt, a random
// block and its SHA-1 hash, both encrypted with the key of block 0). Every page has a key of its
// own, derived from the password's hash and the page's key bytes.
#include "crypto/office_schemes.h"
#include "file/rc4.h"

#include <array>
#include <cctype>

namespace jet::detail {

namespace {

constexpr std::uint32_t kCryptoApiFlag = 0x04;
constexpr std::uint32_t kExternalFlag = 0x10;
constexpr std::uint32_t kAesFlag = 0x20;

constexpr std::uint32_t kAlgorithmRc4 = 0x6801;
constexpr std::uint32_t kAlgorithmAes128 = 0x660e;
constexpr std::uint32_t kAlgorithmAes192 = 0x660f;
constexpr std::uint32_t kAlgorithmAes256 = 0x6610;
constexpr std::uint32_t kHashSha1 = 0x8004;

constexpr std::size_t kSaltSize = 16;
constexpr std::size_t kVerifierSize = 16;
constexpr std::size_t kSha1Size = 20;
// The standard AES scheme stretches the password's hash; Access's "non-standard" form (AES named
// without the AES flag) does not.
constexpr std::uint32_t kStandardIterations = 50000;

enum class Algorithm { Rc4, Aes };

struct CryptoApiParameters {
    Algorithm algorithm = Algorithm::Rc4;
    std::size_t keyBytes = 0;
    Bytes salt;
    Bytes encryptedVerifier; // the verifier, then its hash, as stored
};

// The header and verifier, every field checked.
CryptoApiParameters readParameters(const SchemeInput& input) {
    const ByteSpan d = input.descriptor;
    if (d.size() < 8)
        throwDamagedDescriptor(input, "no header");
    const std::uint32_t headerSize = le32(&d[4]);
    constexpr std::size_t kHeaderFields = 32; // eight 32-bit fields before the provider's name
    if (headerSize < kHeaderFields || !fits(d.size(), 8, headerSize))
        throwDamagedDescriptor(input, "a header of " + std::to_string(headerSize) + " bytes");
    const ByteSpan header = d.subspan(8, headerSize);
    const std::uint32_t flags = le32(&header[0]);
    const std::uint32_t algorithmId = le32(&header[8]);
    const std::uint32_t hashId = le32(&header[12]);
    std::uint32_t keyBits = le32(&header[16]);
    if (flags & kExternalFlag)
        throwUnsupportedScheme(input, "an external encryption provider");

    CryptoApiParameters p;
    std::uint32_t minBits = 128;
    std::uint32_t maxBits = 256;
    switch (algorithmId) {
    case 0:
        if (!(flags & kCryptoApiFlag))
            throwDamagedDescriptor(input, "no cipher named");
        p.algorithm = flags & kAesFlag ? Algorithm::Aes : Algorithm::Rc4;
        minBits = maxBits = 128;
        break;
    case kAlgorithmRc4:
        p.algorithm = Algorithm::Rc4;
        break;
    case kAlgorithmAes128:
    case kAlgorithmAes192:
    case kAlgorithmAes256:
        p.algorithm = Algorithm::Aes;
        minBits = maxBits = 128 + 64 * (algorithmId - kAlgorithmAes128);
        break;
    default:
        throwUnsupportedScheme(input, "cipher number " + std::to_string(algorithmId));
    }
    if (hashId != 0 && hashId != kHashSha1)
        throwUnsupportedScheme(input, "a hash other than SHA-1");
    if (p.algorithm == Algorithm::Rc4) {
        // The CryptoAPI allows 40 to 128 bits; a key of 0 is the provider's default, 40 bits
        // for the "Base" providers (or none named) and 128 for the others.
        minBits = 40;
        maxBits = 512;
        if (keyBits == 0) {
            std::string provider;
            for (std::size_t i = kHeaderFields;
                 i + 1 < header.size() && header[i + 1] == 0 && header[i] != 0; i += 2)
                provider += static_cast<char>(std::tolower(header[i]));
            keyBits = provider.empty() || provider.find(" base ") != std::string::npos ? 40 : 128;
        }
    } else if (keyBits == 0) {
        keyBits = minBits;
    }
    if (keyBits < minBits || keyBits > maxBits || keyBits % 8 != 0)
        throwDamagedDescriptor(input, "a key of " + std::to_string(keyBits) + " bits");
    p.keyBytes = keyBits / 8;

    const std::size_t verifierStart = 8 + std::size_t{headerSize};
    const std::size_t hashStored = p.algorithm == Algorithm::Rc4 ? kSha1Size : 32;
    const std::size_t verifierLength = 4 + kSaltSize + kVerifierSize + 4 + hashStored;
    if (!fits(d.size(), verifierStart, verifierLength))
        throwDamagedDescriptor(input, "the password verifier is cut short");
    const ByteSpan v = d.subspan(verifierStart, verifierLength);
    if (le32(&v[0]) != kSaltSize)
        throwDamagedDescriptor(input, "a salt of " + std::to_string(le32(&v[0])) + " bytes");
    if (le32(&v[4 + kSaltSize + kVerifierSize]) != kSha1Size)
        throwDamagedDescriptor(input, "a verifier hash of " +
                                          std::to_string(le32(&v[4 + kSaltSize + kVerifierSize])) +
                                          " bytes");
    p.salt.assign(v.begin() + 4, v.begin() + 4 + kSaltSize);
    p.encryptedVerifier.assign(v.begin() + 4 + kSaltSize,
                               v.begin() + 4 + kSaltSize + kVerifierSize);
    p.encryptedVerifier.insert(p.encryptedVerifier.end(), v.end() - hashStored, v.end());
    return p;
}

class Rc4CryptoApiCipher final : public PageCipher {
public:
    Rc4CryptoApiCipher(Bytes baseHash, std::size_t keyBytes, std::uint32_t encodingKey)
        : baseHash_(std::move(baseHash)), keyBytes_(keyBytes), encodingKey_(encodingKey) {}

    void decode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        rc4Apply(keyFor(pageKeyBytes(encodingKey_, number)), page);
    }
    void encode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        decode(page, number);
    }

    Bytes keyFor(ByteSpan block) const {
        Bytes key = fixedLength(hashOf(HashAlgorithm::Sha1, {baseHash_, block}), keyBytes_);
        // A 40-bit key is used as 128 bits, the rest zero.
        return keyBytes_ == 5 ? fixedLength(std::move(key), 16) : key;
    }

private:
    Bytes baseHash_;
    std::size_t keyBytes_;
    std::uint32_t encodingKey_;
};

class AesCryptoApiCipher final : public PageCipher {
public:
    AesCryptoApiCipher(Bytes stretchedHash, std::size_t keyBytes, std::uint32_t encodingKey)
        : stretchedHash_(std::move(stretchedHash)), keyBytes_(keyBytes), encodingKey_(encodingKey) {
    }

    void decode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        aesDecrypt(ChainingMode::Ecb, keyFor(pageKeyBytes(encodingKey_, number)), {}, page);
    }
    void encode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        aesEncrypt(ChainingMode::Ecb, keyFor(pageKeyBytes(encodingKey_, number)), {}, page);
    }

    // The CryptoAPI's CryptDeriveKey: the block's hash spread over two hashes of 64-byte pads.
    Bytes keyFor(ByteSpan block) const {
        const Bytes blockHash = hashOf(HashAlgorithm::Sha1, {stretchedHash_, block});
        std::uint8_t inner[64];
        std::uint8_t outer[64];
        for (std::size_t i = 0; i < 64; ++i) {
            const std::uint8_t h = i < blockHash.size() ? blockHash[i] : 0;
            inner[i] = 0x36 ^ h;
            outer[i] = 0x5c ^ h;
        }
        Bytes key = hashOf(HashAlgorithm::Sha1, {inner});
        const Bytes second = hashOf(HashAlgorithm::Sha1, {outer});
        key.insert(key.end(), second.begin(), second.end());
        return fixedLength(std::move(key), keyBytes_);
    }

private:
    Bytes stretchedHash_;
    std::size_t keyBytes_;
    std::uint32_t encodingKey_;
};

} // namespace

std::shared_ptr<const PageCipher> cryptoApiCipher(const SchemeInput& input) {
    if (input.descriptor.size() < 4 || !(le32(&input.descriptor[0]) & kCryptoApiFlag))
        throwUnsupportedScheme(input, "a provider outside the CryptoAPI");
    const bool standardAes = le32(&input.descriptor[0]) & kAesFlag;
    CryptoApiParameters p = readParameters(input);
    if (standardAes && p.algorithm != Algorithm::Aes)
        throwDamagedDescriptor(input, "the AES flag with another cipher");
    const Bytes baseHash = hashOf(HashAlgorithm::Sha1, {p.salt, input.password});
    const std::array<std::uint8_t, 4> blockZero{};

    std::shared_ptr<const PageCipher> cipher;
    Bytes& check = p.encryptedVerifier;
    if (p.algorithm == Algorithm::Rc4) {
        auto rc4 = std::make_shared<Rc4CryptoApiCipher>(baseHash, p.keyBytes, input.encodingKey);
        rc4Apply(rc4->keyFor(blockZero), check); // one stream over the verifier and its hash
        cipher = std::move(rc4);
    } else {
        if (input.pageSize % 16 != 0)
            throwUnsupportedScheme(input,
                                   "AES on pages of " + std::to_string(input.pageSize) + " bytes");
        auto aes = std::make_shared<AesCryptoApiCipher>(
            iterateHash(HashAlgorithm::Sha1, baseHash, standardAes ? kStandardIterations : 0),
            p.keyBytes, input.encodingKey);
        aesDecrypt(ChainingMode::Ecb, aes->keyFor(blockZero), {}, check);
        cipher = std::move(aes);
    }
    const ByteSpan verifier(check.data(), kVerifierSize);
    const ByteSpan storedHash(check.data() + kVerifierSize, kSha1Size);
    if (!sameBytes(hashOf(HashAlgorithm::Sha1, {verifier}), storedHash))
        throwWrongPassword(input);
    return cipher;
}

} // namespace jet::detail
