// Office-encrypted Access 2007+ files: each scheme's password check and page cipher, against the
// files Access encrypted (every page decodes to a page type, 1 to 9 in these files, then 0x01; the
// catalogue's definition where it belongs), the writer's encoding as the exact inverse, and damaged
// descriptors.
#include "crypto/page_ciphers.h"
#include "file/rc4.h"
#include "support.h"

#include <functional>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

struct EncryptedFile {
    const char* name;
    const char* password;
    bool agile;
};
const EncryptedFile kFiles[] = {
    {"mdbreader__encryption_office-agile-4.2.accdb", "password", false}, // RC4, CryptoAPI
    {"jackcessencrypt__db-nonstandard.accdb", "password", false}, // AES, CryptoAPI, unstretched
    {"mdbreader__encryption_office-agile-4.4.accdb", "password", true}, // AES-256, SHA-512
    {"jackcessencrypt__db2013-enc.accdb", "1234", true},
};

// The header as the engine reads it: the file's first page with its mask removed.
detail::Header headerOf(const std::vector<std::uint8_t>& bytes) {
    std::vector<std::uint8_t> page(bytes.begin(), bytes.begin() + 4096);
    detail::rc4Apply(detail::kHeaderMaskKey,
                     std::span(page.data() + detail::kHeaderMaskStart, 128));
    detail::Header header;
    header.format = &detail::JetFormat::jet4();
    header.version = Version::Ace14;
    header.encodingKey = detail::le32(&page[detail::kEncodingKeyOffset]);
    return header;
}

std::shared_ptr<const detail::PageCipher> cipherOf(const std::vector<std::uint8_t>& bytes,
                                                   std::string_view password) {
    return detail::pageCipherFor(headerOf(bytes), bytes, password, "f.accdb");
}

// Pages read from the mapped file, in a walk's runs and from a file read whole; a changed page and
// the rest written back encoded.
TEST(OfficeEncryption, EverySchemeDecodesEveryPageAndEncodesItBack) {
    for (const auto& [name, password, agile] : kFiles) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = readBytes(testFile(name));
        const auto cipher = cipherOf(bytes, password);
        detail::PageStore pages = detail::DatabaseFile(testFile(name)).pages(4096, cipher);
        const detail::PageStore whole(bytes, 4096, cipher);
        const detail::PageRun run = pages.readRun(1, 8);
        ASSERT_TRUE(run.holds(8));
        ASSERT_GT(pages.pageCount(), 20u);
        EXPECT_EQ(pages.page(2)[0], 0x02); // the catalogue's table definition
        for (std::uint32_t n = 1; n < pages.pageCount(); ++n) {
            const detail::ByteSpan page = pages.page(n);
            ASSERT_TRUE(page[0] >= 0x01 && page[0] <= 0x09 && page[1] == 0x01) << "page " << n;
            ASSERT_TRUE(std::ranges::equal(page, whole.page(n)));
            if (run.holds(n)) {
                ASSERT_TRUE(std::ranges::equal(page, run.page(n)));
            }
        }
        pages.mutablePage(3)[100] ^= 0x5a;
        std::vector<std::uint8_t> written;
        pages.writeFile([&](detail::ByteSpan part) {
            written.insert(written.end(), part.begin(), part.end());
        });
        ASSERT_EQ(written.size(), bytes.size());
        const detail::PageStore again(written, 4096, cipher);
        EXPECT_EQ(again.page(3)[100], pages.page(3)[100]);
        written = {};
        whole.writeFile([&](detail::ByteSpan part) {
            written.insert(written.end(), part.begin(), part.end());
        });
        EXPECT_TRUE(written == bytes);
    }
}

TEST(OfficeEncryption, AWrongOrMissingPasswordIsRefusedBeforeAnyPageIsRead) {
    for (const auto& [name, password, agile] : kFiles) {
        SCOPED_TRACE(name);
        const std::vector<std::uint8_t> bytes = readBytes(testFile(name));
        for (const char* wrong : {"Password", "12345", "passwor", "p\xc3\xa4ssword"})
            EXPECT_EQ(errorOf(ErrorKind::BadPassword, [&] { cipherOf(bytes, wrong); }),
                      kBadPasswordMessage);
        EXPECT_TRUE(mentions(errorOf(ErrorKind::BadPassword, [&] { cipherOf(bytes, ""); }),
                             "f.accdb: the file is encrypted and opens only with its password"));
    }
}

constexpr std::size_t kInfo = detail::kEncryptionDescriptorOffset + 2;

std::vector<std::uint8_t> changed(const char* name,
                                  const std::function<void(std::vector<std::uint8_t>&)>& change) {
    std::vector<std::uint8_t> bytes = readBytes(testFile(name));
    change(bytes);
    return bytes;
}

// The descriptor's text changed, its length with it, the header page still one page.
std::vector<std::uint8_t> replaced(const char* name, const std::string& from,
                                   const std::string& to) {
    return changed(name, [&](std::vector<std::uint8_t>& b) {
        const auto at = std::search(b.begin(), b.begin() + 4096, from.begin(), from.end());
        ASSERT_NE(at, b.begin() + 4096) << from;
        const auto grown = static_cast<std::ptrdiff_t>(to.size() - from.size());
        b.insert(b.erase(at, at + static_cast<std::ptrdiff_t>(from.size())), to.begin(), to.end());
        if (grown > 0)
            b.erase(b.begin() + 4096, b.begin() + 4096 + grown);
        else
            b.insert(b.begin() + 4096 + grown, static_cast<std::size_t>(-grown), 0);
        detail::putLe16(b, kInfo - 2,
                        static_cast<std::uint16_t>(detail::le16(&b[kInfo - 2]) + grown));
    });
}

// Every number of a descriptor is checked: a changed one is a clear error, never a crash or a
// cipher that decodes garbage.
TEST(OfficeEncryption, ADamagedDescriptorIsAClearError) {
    const char* rc4 = kFiles[0].name;
    const char* agile = kFiles[2].name;
    const std::vector<std::pair<std::vector<std::uint8_t>, ErrorKind>> cases{
        {changed(agile, [](auto& b) { b[kInfo - 1] = 0x0f; }), ErrorKind::Corrupt}, // past the page
        {changed(agile, [](auto& b) { b[kInfo] = 9; }), ErrorKind::NotSupported},   // version 9.4
        {changed(agile, [](auto& b) { b[kInfo + 4] = 0x41; }), ErrorKind::Corrupt}, // reserved
        {replaced(agile, "spinCount=\"100000\"", "spinCount=\"99999999\""), ErrorKind::Corrupt},
        {replaced(agile, "spinCount=\"100000\"", "spinCount=\"1x0000\""), ErrorKind::Corrupt},
        {replaced(agile, "spinCount=\"100000\"", "spinCount=\"100001\""), ErrorKind::BadPassword},
        {replaced(agile, "keyBits=\"256\"", "keyBits=\"255\""), ErrorKind::Corrupt},
        {replaced(agile, "\"AES\"", "\"DES\""), ErrorKind::NotSupported},
        {replaced(agile, "saltSize=\"16\"", "saltSize=\"17\""), ErrorKind::Corrupt},
        {replaced(agile, "encryptedKeyValue=\"", "encryptedKeyValue=\"!"), ErrorKind::Corrupt},
        {replaced(agile, "encryptedVerifierHashValue=", "encryptedVerifierHashValuf="),
         ErrorKind::Corrupt},
        {replaced(agile,
                  "keyEncryptor uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/p",
                  "keyEncryptor uri=\"http://schemas.microsoft.com/office/2006/keyEncryptor/P"),
         ErrorKind::NotSupported},
        {changed(rc4, [](auto& b) { b[kInfo + 8] = 0xff; }), ErrorKind::Corrupt}, // header size
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 8] = 0x02; }),
         ErrorKind::NotSupported}, // cipher
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 12] = 0x03; }), ErrorKind::NotSupported}, // hash
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 16] = 0x81; }), ErrorKind::Corrupt}, // key bits
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 0x7e] = 0x20; }), ErrorKind::Corrupt}, // salt
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 0x7e + 36] = 0; }), ErrorKind::Corrupt},
        {changed(rc4, [](auto& b) { b[kInfo + 12 + 0x7e + 20] ^= 1; }), ErrorKind::BadPassword},
    };
    for (std::size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        errorOf(cases[i].second, [&] { cipherOf(cases[i].first, "password"); });
    }
}

// Every byte of each descriptor changed, and the header page cut anywhere in it: an error or a
// cipher (which then decodes pages), never a crash; the sanitizer build runs this sweep too.
TEST(OfficeEncryption, EveryByteOfADescriptorChangedGivesAnErrorOrACipher) {
    int ciphers = 0;
    for (const auto& [name, password, agile] : kFiles) {
        SCOPED_TRACE(name);
        // One spin keeps the agile sweep fast; the password then fails, after the whole parse.
        std::vector<std::uint8_t> bytes =
            agile ? replaced(name, "spinCount=\"100000\"", "spinCount=\"1\"")
                  : readBytes(testFile(name));
        bytes.resize(3 * 4096);
        const std::size_t end = kInfo + detail::le16(&bytes[kInfo - 2]);
        for (std::size_t at = kInfo - 2; at < end; ++at)
            for (std::uint8_t flip : {0xff, 0x01, 0x40}) {
                bytes[at] ^= flip;
                try {
                    if (const auto cipher = cipherOf(bytes, password)) {
                        std::vector<std::uint8_t> page(bytes.begin() + 4096, bytes.begin() + 8192);
                        cipher->decode(page, 1);
                        cipher->encode(page, 1);
                        ++ciphers;
                    }
                } catch (const Error&) {
                }
                bytes[at] ^= flip;
            }
        for (std::size_t cut = kInfo - 2; cut < end; ++cut)
            EXPECT_TRUE(mentions(errorOf(ErrorKind::Corrupt,
                                         [&] {
                                             detail::pageCipherFor(headerOf(bytes),
                                                                   std::span(bytes.data(), cut),
                                                                   password, "f.accdb");
                                         }),
                                 "f.accdb: the encryption descriptor on the header page is "
                                 "damaged"));
    }
    EXPECT_GT(ciphers, 0); // changes the check cannot see (the provider's name) still decode
}

} // namespace
} // namespace jet::test
