// The header page: telling Jet 3 from Jet 4 from everything else, and the database password.
#include "header.h"
#include "rc4.h"
#include "support.h"

#include <cstring>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

ErrorKind openError(const std::filesystem::path& path, std::string_view password = {},
                    std::string* message = nullptr) {
    try {
        (void)Database::open(path, password);
    } catch (const Error& e) {
        if (message)
            *message = e.what();
        return e.kind();
    }
    ADD_FAILURE() << path << " opened";
    return ErrorKind::Invalid;
}

TEST(Password, OpensOnlyWithTheExactPassword) {
    for (const char* file : {"mdbreader__password_V2000_with-password.mdb",
                             "mdbreader__password_V2003_with-password.mdb"}) {
        SCOPED_TRACE(file);
        const Database db = Database::open(testFile(file), "password");
        EXPECT_TRUE(db.hasPassword());
        EXPECT_EQ(db.tableNames(), std::vector<std::string>{"Table1"});
        for (const char* wrong : {"", "Password", "passwor", "password1"}) {
            std::string message;
            EXPECT_EQ(openError(testFile(file), wrong, &message), ErrorKind::BadPassword) << wrong;
            EXPECT_EQ(message, kBadPasswordMessage);
        }
    }
    EXPECT_NO_THROW((void)Database::open(testFile("ucanaccess__password.mdb"), "ucanaccess"));
    EXPECT_EQ(openError(testFile("ucanaccess__password.mdb"), "UCANACCESS"),
              ErrorKind::BadPassword);
}

TEST(Password, FilesWithoutOneOpenWithAny) {
    for (const char* file :
         {"mdbreader__password_V2000_no-password.mdb", "jackcess__testV1997.mdb"}) {
        const Database db = Database::open(testFile(file), "whatever");
        EXPECT_FALSE(db.hasPassword()) << file;
    }
}

TEST(Password, Jet3PasswordIsChecked) {
    // Jet 3 keeps up to 20 code-page bytes, under the header mask only.
    auto bytes = readBytes(testFile("jackcess__testV1997.mdb"));
    const std::size_t masked = detail::JetFormat::jet3().headerMaskedLength;
    std::span<std::uint8_t> region(bytes.data() + detail::kHeaderMaskStart, masked);
    detail::rc4Apply(detail::kHeaderMaskKey, region);
    std::memcpy(bytes.data() + 0x42, "s\xe9same", 6);
    detail::rc4Apply(detail::kHeaderMaskKey, region);
    ScratchDir dir;
    const auto path = dir.write("jet3-password.mdb", bytes);
    EXPECT_TRUE(Database::open(path, "s\u00e9same").hasPassword());
    EXPECT_EQ(openError(path, ""), ErrorKind::BadPassword);
    EXPECT_EQ(openError(path, "sesame"), ErrorKind::BadPassword);
}

TEST(Header, RejectsWhatIsNotAJet3OrJet4Database) {
    ScratchDir dir;
    auto jet4 = readBytes(testFile("jackcess__testV2000.mdb"));
    std::vector<std::filesystem::path> rejected;
    for (std::uint8_t version : {2, 3, 5}) {
        auto copy = jet4;
        copy[0x14] = version;
        rejected.push_back(dir.write("accdb" + std::to_string(version) + ".mdb", copy));
    }
    auto ace = jet4;
    std::memcpy(ace.data() + 4, "Standard ACE DB", 15);
    ace[0x14] = 2;
    rejected.push_back(dir.write("ace.accdb", ace));
    rejected.push_back(dir.write("empty.mdb", {}));
    rejected.push_back(dir.write("text.mdb", std::vector<std::uint8_t>(5000, 'x')));
    rejected.push_back(dir.write("short.mdb", {0, 1, 0, 0, 'S'}));
    for (const auto& path : rejected) {
        std::string message;
        EXPECT_EQ(openError(path, "", &message), ErrorKind::NotSupported) << path;
        EXPECT_EQ(message.rfind(kNotSupportedMessage, 0), 0u) << message;
    }
    EXPECT_EQ(openError("/nonexistent-folder-of-jet-tests/none.mdb"), ErrorKind::Io);
}

TEST(Header, ReadsCodePageAndVersion) {
    const Database jet3 = Database::open(testFile("rizky__biblio.mdb"));
    EXPECT_EQ(jet3.version(), Version::Jet3);
    EXPECT_EQ(jet3.codePage(), 1252);
    EXPECT_EQ(jet3.pageCount(), 135168u / 2048);
    const Database jet4 = Database::open(testFile("jackcess__testV2003.mdb"));
    EXPECT_EQ(jet4.version(), Version::Jet4);
    EXPECT_EQ(jet4.path(), testFile("jackcess__testV2003.mdb"));
}

} // namespace
} // namespace jet::test
