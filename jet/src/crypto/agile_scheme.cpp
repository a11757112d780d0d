// Agile encryption (EncryptionInfo 4.4): after a reserved 32-bit 0x40, an XML descriptor. Its
// password key encryptor stretches the password (salt, then spinCount rounds of its hash) into
// keys that unwrap a verifier, the verifier's hash and the file's key; pages are AES with that
// key and an IV of their own, the hash of the key data's salt and the page's key bytes.
#include "crypto/office_schemes.h"

#include <optional>
#include <string_view>

namespace jet::detail {

namespace {

constexpr std::uint32_t kReservedValue = 0x40;
constexpr std::string_view kPasswordEncryptorUri =
    "http://schemas.microsoft.com/office/2006/keyEncryptor/password";
// The blocks that tell the three keys derived from the password apart.
constexpr std::uint8_t kVerifierInputBlock[] = {0xfe, 0xa7, 0xd2, 0x76, 0x3b, 0x4b, 0x9e, 0x79};
constexpr std::uint8_t kVerifierHashBlock[] = {0xd7, 0xaa, 0x0f, 0x6d, 0x30, 0x61, 0x34, 0x4e};
constexpr std::uint8_t kKeyValueBlock[] = {0x14, 0x6e, 0x0b, 0xe7, 0xab, 0xac, 0xd0, 0xd6};
// Office's own ceiling; it also bounds the work a hostile file can ask for.
constexpr std::uint32_t kMaxSpinCount = 10'000'000;
constexpr std::size_t kAesBlock = 16;

// The attributes of the first element named `name` (any namespace prefix) at or after `from`;
// none when there is no such element. Values are taken as written: the descriptor's are names,
// numbers and base64, none with entities.
struct Element {
    std::string_view text; // the start tag, attributes included
    std::size_t end = 0;   // just past it
    std::optional<std::string_view> attribute(std::string_view name) const {
        for (std::size_t at = text.find(name); at != std::string_view::npos;
             at = text.find(name, at + 1)) {
            const char before = at ? text[at - 1] : '<';
            const std::size_t after = at + name.size();
            if ((before != ' ' && before != '\t' && before != '\r' && before != '\n') ||
                after + 1 >= text.size() || text[after] != '=' ||
                (text[after + 1] != '"' && text[after + 1] != '\''))
                continue;
            const std::size_t close = text.find(text[after + 1], after + 2);
            if (close == std::string_view::npos)
                return std::nullopt;
            return text.substr(after + 2, close - after - 2);
        }
        return std::nullopt;
    }
};

std::optional<Element> findElement(std::string_view xml, std::string_view name, std::size_t from) {
    for (std::size_t open = xml.find('<', from); open != std::string_view::npos;
         open = xml.find('<', open + 1)) {
        std::size_t nameStart = open + 1;
        std::size_t nameEnd = xml.find_first_of(" \t\r\n/>", nameStart);
        if (nameEnd == std::string_view::npos)
            return std::nullopt;
        const std::size_t colon = xml.find(':', nameStart);
        if (colon < nameEnd)
            nameStart = colon + 1;
        if (xml.substr(nameStart, nameEnd - nameStart) != name)
            continue;
        const std::size_t close = xml.find('>', nameEnd);
        if (close == std::string_view::npos)
            return std::nullopt;
        return Element{xml.substr(open, close + 1 - open), close + 1};
    }
    return std::nullopt;
}

std::optional<Bytes> fromBase64(std::string_view text) {
    Bytes out;
    std::uint32_t bits = 0;
    int count = 0;
    std::size_t padding = 0;
    for (char c : text) {
        int value;
        if (c >= 'A' && c <= 'Z')
            value = c - 'A';
        else if (c >= 'a' && c <= 'z')
            value = c - 'a' + 26;
        else if (c >= '0' && c <= '9')
            value = c - '0' + 52;
        else if (c == '+')
            value = 62;
        else if (c == '/')
            value = 63;
        else if (c == '=') {
            ++padding;
            continue;
        } else if (c == ' ' || c == '\r' || c == '\n' || c == '\t')
            continue;
        else
            return std::nullopt;
        if (padding)
            return std::nullopt;
        bits = bits << 6 | static_cast<std::uint32_t>(value);
        if (++count == 4) {
            out.push_back(static_cast<std::uint8_t>(bits >> 16));
            out.push_back(static_cast<std::uint8_t>(bits >> 8));
            out.push_back(static_cast<std::uint8_t>(bits));
            bits = 0;
            count = 0;
        }
    }
    if (count == 1 || padding > 2)
        return std::nullopt;
    if (count == 2)
        out.push_back(static_cast<std::uint8_t>(bits >> 4));
    if (count == 3) {
        out.push_back(static_cast<std::uint8_t>(bits >> 10));
        out.push_back(static_cast<std::uint8_t>(bits >> 2));
    }
    return out;
}

// What an element says about a cipher: the part shared by the key data and the key encryptor.
struct CipherSpec {
    HashAlgorithm hash = HashAlgorithm::Sha1;
    ChainingMode chaining = ChainingMode::Cbc;
    std::size_t keyBytes = 0;
    std::size_t blockSize = 0;
    Bytes salt;
};

class Reader {
public:
    explicit Reader(const SchemeInput& input) : input_(input) {}

    std::string_view text(const Element& e, std::string_view name) const {
        const auto value = e.attribute(name);
        if (!value)
            throwDamagedDescriptor(input_, "no " + std::string(name));
        return *value;
    }
    std::uint32_t number(const Element& e, std::string_view name) const {
        const std::string_view t = text(e, name);
        std::uint64_t value = 0;
        for (char c : t) {
            if (c < '0' || c > '9' || value > 0xffffffffu)
                throwDamagedDescriptor(input_, std::string(name) + " \"" + std::string(t) + "\"");
            value = value * 10 + static_cast<std::uint64_t>(c - '0');
        }
        if (t.empty() || value > 0xffffffffu)
            throwDamagedDescriptor(input_, std::string(name) + " \"" + std::string(t) + "\"");
        return static_cast<std::uint32_t>(value);
    }
    Bytes base64(const Element& e, std::string_view name) const {
        const auto bytes = fromBase64(text(e, name));
        if (!bytes)
            throwDamagedDescriptor(input_, std::string(name) + " is not base64");
        return *bytes;
    }
    // Whole AES blocks of at least `least` bytes.
    Bytes blocks(const Element& e, std::string_view name, std::size_t least) const {
        Bytes bytes = base64(e, name);
        if (bytes.size() < least || bytes.size() % kAesBlock != 0)
            throwDamagedDescriptor(input_, std::string(name) + " of " +
                                               std::to_string(bytes.size()) + " bytes");
        return bytes;
    }

    CipherSpec cipher(const Element& e) const {
        CipherSpec spec;
        if (text(e, "cipherAlgorithm") != "AES")
            throwUnsupportedScheme(input_, "the cipher " + std::string(text(e, "cipherAlgorithm")));
        const std::string_view chaining = text(e, "cipherChaining");
        if (chaining == "ChainingModeCBC")
            spec.chaining = ChainingMode::Cbc;
        else if (chaining == "ChainingModeCFB")
            spec.chaining = ChainingMode::Cfb;
        else
            throwUnsupportedScheme(input_, "the chaining mode " + std::string(chaining));
        const auto hash = hashAlgorithmNamed(text(e, "hashAlgorithm"));
        if (!hash)
            throwUnsupportedScheme(input_, "the hash " + std::string(text(e, "hashAlgorithm")));
        spec.hash = *hash;
        const std::uint32_t keyBits = number(e, "keyBits");
        if (keyBits != 128 && keyBits != 192 && keyBits != 256)
            throwDamagedDescriptor(input_, "an AES key of " + std::to_string(keyBits) + " bits");
        spec.keyBytes = keyBits / 8;
        spec.blockSize = number(e, "blockSize");
        if (spec.blockSize != kAesBlock)
            throwDamagedDescriptor(input_,
                                   "an AES block of " + std::to_string(spec.blockSize) + " bytes");
        spec.salt = base64(e, "saltValue");
        if (spec.salt.empty() || spec.salt.size() != number(e, "saltSize"))
            throwDamagedDescriptor(input_, "a salt whose size is not saltSize");
        return spec;
    }

private:
    const SchemeInput& input_;
};

class AgileCipher final : public PageCipher {
public:
    AgileCipher(CipherSpec keyData, Bytes key, std::uint32_t encodingKey)
        : keyData_(std::move(keyData)), key_(std::move(key)), encodingKey_(encodingKey) {}

    void decode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        aesDecrypt(keyData_.chaining, key_, ivFor(number), page);
    }
    void encode(std::span<std::uint8_t> page, std::uint32_t number) const override {
        aesEncrypt(keyData_.chaining, key_, ivFor(number), page);
    }

private:
    Bytes ivFor(std::uint32_t number) const {
        return fixedLength(
            hashOf(keyData_.hash, {keyData_.salt, pageKeyBytes(encodingKey_, number)}),
            keyData_.blockSize, 0x36);
    }

    CipherSpec keyData_;
    Bytes key_;
    std::uint32_t encodingKey_;
};

} // namespace

std::shared_ptr<const PageCipher> agileCipher(const SchemeInput& input) {
    const ByteSpan d = input.descriptor;
    if (d.size() < 4 || le32(&d[0]) != kReservedValue)
        throwDamagedDescriptor(input, "no agile descriptor after the version");
    const std::string_view xml(reinterpret_cast<const char*>(d.data() + 4), d.size() - 4);
    const Reader read(input);

    const auto keyDataElement = findElement(xml, "keyData", 0);
    if (!keyDataElement)
        throwDamagedDescriptor(input, "no keyData");
    const CipherSpec keyData = read.cipher(*keyDataElement);

    std::optional<Element> encryptor;
    for (auto e = findElement(xml, "keyEncryptor", 0); e && !encryptor;
         e = findElement(xml, "keyEncryptor", e->end))
        if (e->attribute("uri") == kPasswordEncryptorUri)
            encryptor = findElement(xml, "encryptedKey", e->end);
    if (!encryptor)
        throwUnsupportedScheme(input, "a key encryptor other than a password");
    const CipherSpec spec = read.cipher(*encryptor);
    const std::uint32_t spinCount = read.number(*encryptor, "spinCount");
    if (spinCount > kMaxSpinCount)
        throwDamagedDescriptor(input, "a spin count of " + std::to_string(spinCount));
    const std::size_t hashBytes = hashSize(spec.hash);
    Bytes verifierInput = read.blocks(*encryptor, "encryptedVerifierHashInput", spec.salt.size());
    Bytes verifierHash = read.blocks(*encryptor, "encryptedVerifierHashValue", hashBytes);
    Bytes keyValue = read.blocks(*encryptor, "encryptedKeyValue", keyData.keyBytes);

    const Bytes stretched =
        iterateHash(spec.hash, hashOf(spec.hash, {spec.salt, input.password}), spinCount);
    const Bytes iv = fixedLength(spec.salt, spec.blockSize, 0x36);
    const auto unwrap = [&](ByteSpan block, Bytes& data) {
        const Bytes key = fixedLength(hashOf(spec.hash, {stretched, block}), spec.keyBytes, 0x36);
        aesDecrypt(spec.chaining, key, iv, data);
    };
    unwrap(kVerifierInputBlock, verifierInput);
    unwrap(kVerifierHashBlock, verifierHash);
    const Bytes expected = hashOf(spec.hash, {ByteSpan(verifierInput.data(), spec.salt.size())});
    if (!sameBytes(expected, ByteSpan(verifierHash.data(), hashBytes)))
        throwWrongPassword(input);
    unwrap(kKeyValueBlock, keyValue);
    if (input.pageSize % kAesBlock != 0)
        throwUnsupportedScheme(input,
                               "AES on pages of " + std::to_string(input.pageSize) + " bytes");
    keyValue.resize(keyData.keyBytes);
    return std::make_shared<AgileCipher>(keyData, std::move(keyValue), input.encodingKey);
}

} // namespace jet::detail
