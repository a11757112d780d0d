// Opening real files: the header (Jet 3, Jet 4, ACE or neither; the database password), the
// catalogue and the columns as Access defined them. (Every test file's tables, row counts and
// values are compared with two independent readers in the oracle tests.)
#include "file/header.h"
#include "file/rc4.h"
#include "support.h"

#include <cstring>
#include <gtest/gtest.h>

namespace jet::test {
namespace {

void refused(const std::filesystem::path& path, const char* password) {
    EXPECT_EQ(errorOf(ErrorKind::BadPassword, [&] { (void)Database::open(path, password); }),
              kBadPasswordMessage);
}

TEST(Password, OpensOnlyWithTheExactPassword) {
    const auto file = testFile("mdbreader__password_V2003_with-password.mdb");
    EXPECT_TRUE(Database::open(file, "password").hasPassword());
    for (const char* wrong : {"", "Password", "passwor", "password1"})
        refused(file, wrong);
    for (const char* file :
         {"mdbreader__password_V2000_no-password.mdb", "jackcess__testV1997.mdb"})
        EXPECT_FALSE(Database::open(testFile(file), "whatever").hasPassword()) << file;

    // Jet 3 keeps its password as code-page bytes under the header mask only.
    auto bytes = readBytes(testFile("jackcess__testV1997.mdb"));
    std::span<std::uint8_t> masked(bytes.data() + detail::kHeaderMaskStart,
                                   detail::JetFormat::jet3().headerMaskedLength);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    std::memcpy(bytes.data() + detail::kPasswordOffset, "s\xe9same", 6);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    ScratchDir dir;
    const auto path = dir.write("jet3-password.mdb", bytes);
    EXPECT_TRUE(Database::open(path, "s\u00e9same").hasPassword());
    refused(path, "");
    refused(path, "sesame");
}

// The header decides the format, never the file's name; its magic text and version byte must agree.
TEST(Header, TellsTheFormatAndRejectsWhatIsNone) {
    ScratchDir dir;
    const auto jet4 = readBytes(testFile("jackcess__testV2000.mdb"));
    const auto ace12 = readBytes(testFile("jackcess__testV2007.accdb"));
    EXPECT_EQ(Database::open(dir.write("named-like-jet.mdb", ace12)).version(), Version::Ace12);
    EXPECT_EQ(Database::open(testFile("jackcess__empty2019.accdb")).version(), Version::Ace17);
    auto aceMagic = jet4;
    std::memcpy(aceMagic.data() + detail::kMagicOffset, "Standard ACE DB", 15);
    auto version4 = ace12;
    version4[detail::kVersionOffset] = 4;
    auto jetMagic = ace12;
    std::memcpy(jetMagic.data() + detail::kMagicOffset, "Standard Jet DB", 15);
    std::vector<std::filesystem::path> rejected{
        dir.write("ace-magic.accdb", aceMagic),
        dir.write("version4.accdb", version4),
        dir.write("jet-magic.accdb", jetMagic),
        dir.write("empty.mdb", {}),
        dir.write("text.mdb", std::vector<std::uint8_t>(5000, 'x')),
        dir.write("short.mdb", {0, 1, 0, 0, 'S'})};
    for (const auto& path : rejected) {
        const auto message = errorOf(ErrorKind::NotSupported, [&] { (void)Database::open(path); });
        EXPECT_EQ(message.rfind(kNotSupportedMessage, 0), 0u) << message;
        EXPECT_EQ(mentions(message, "version"), mentions(path.filename().string(), "accdb"));
    }
    // An ACE header with an encoding key announces Office encryption: without the encryption
    // descriptor that goes with it the file is damaged, said so, never read as garbage.
    auto encrypted = ace12;
    std::span<std::uint8_t> masked(encrypted.data() + detail::kHeaderMaskStart,
                                   detail::JetFormat::jet4().headerMaskedLength);
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    encrypted[detail::kEncodingKeyOffset] = 0x5a;
    detail::rc4Apply(detail::kHeaderMaskKey, masked);
    const auto path = dir.write("encrypted.accdb", encrypted);
    EXPECT_TRUE(
        mentions(errorOf(ErrorKind::Corrupt, [&] { (void)Database::open(path); }),
                 "encrypted.accdb: the encryption descriptor on the header page is damaged"));
    errorOf(ErrorKind::Io, [] { (void)Database::open("/nonexistent-folder-of-jet-tests/a.mdb"); });
}

// Names are found ignoring case (tables and columns); the columns read as Access defined them.
TEST(Catalog, TablesAndColumns) {
    const Database db = Database::open(testFile("jackcess__testV1997.mdb"));
    EXPECT_TRUE(db.hasTable("TABLE1") && !db.hasTable("Table") && !db.hasTable("MSysObjects"));
    EXPECT_EQ(db.table("tAbLe1").name(), "Table1");
    EXPECT_EQ(db.table("Table1").columnIndex("g"), 6);
    EXPECT_EQ(db.version(), Version::Jet3);
    std::string types;
    for (const Column& c : db.table("Table1").columns())
        types += c.name + ":" + columnTypeName(c.type) + (c.fixedLength ? " " : "* ");
    EXPECT_EQ(types, "A:Text* B:Text* C:Byte D:Integer E:Long F:Double G:DateTime H:Currency "
                     "I:Boolean ");
    EXPECT_EQ(db.table("Table1").columns()[0].length, 50);
    EXPECT_EQ(db.table("Table2").columns().size(), 89u); // a definition over several pages
    const auto deleted = Database::open(testFile("jackcess__delColTestV2003.mdb")).table("Table1");
    EXPECT_EQ(deleted.columns()[3].number, 5); // the numbers of deleted columns stay taken
}

} // namespace
} // namespace jet::test
