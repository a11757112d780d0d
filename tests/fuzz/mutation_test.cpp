// Damaged files must give a clean jet::Error or read, take rows, pass through the check and have
// every page described: never a crash, a hang, another exception or (under the sanitizer build)
// undefined behaviour. The damage is deterministic and aimed at each kind of page, in Access-made
// files and in one of ours.
#include "jet/create.h"
#include "jet/write_session.h"
#include "open_and_dump.h"

#include <cstring>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <unistd.h>

namespace fuzzing {
namespace {

using FileBytes = std::vector<std::uint8_t>;
using Visit = std::function<void(const std::string&, const FileBytes&)>;

FileBytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Shows `visit` every damaged copy: cut short, every byte of the header's plain part, and on two
// pages of each kind extreme header fields, page pointers that loop or leave, random bytes.
void forEachMutation(FileBytes file, const Visit& visit) {
    const std::size_t pageSize = file.size() > 0x14 && file[0x14] == 0 ? 2048 : 4096;
    auto set = [&](const std::string& what, std::size_t at, std::uint32_t value, std::size_t size) {
        if (at + size > file.size())
            return;
        const FileBytes saved(file.begin() + at, file.begin() + at + size);
        for (std::size_t i = 0; i < size; ++i)
            file[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
        visit(what + " = " + std::to_string(value) + " at byte " + std::to_string(at), file);
        std::copy(saved.begin(), saved.end(), file.begin() + at);
    };
    std::vector<std::size_t> lengths{0, 1, 16, 0x14, 0x15, 100, 0x100, file.size() - 1};
    for (std::size_t page = 1; page <= 8; ++page)
        lengths.insert(lengths.end(),
                       {page * pageSize - 1, page * pageSize, page * pageSize + pageSize / 2});
    for (std::size_t step = 1; step < 16; ++step)
        lengths.push_back(file.size() * step / 16);
    for (std::size_t length : lengths)
        if (length < file.size())
            visit("cut to " + std::to_string(length),
                  FileBytes(file.begin(), file.begin() + length));
    for (std::size_t i = 0; i < 0x80; ++i)
        set("header", i, file[i] ^ 0xff, 1);
    for (std::uint32_t version : {0, 1, 2, 3, 5, 0xff})
        set("version", 0x14, version, 1);
    // An Office-encrypted file's encryption descriptor (a 16-bit length, then its version, 2 to 4
    // each half): every byte changed, the header page cut inside it.
    constexpr std::size_t kDescriptor = 0x299;
    if (file.size() > pageSize && !std::memcmp(file.data() + 4, "Standard ACE DB", 15) &&
        file[kDescriptor + 2] - 2u < 3 && file[kDescriptor + 4] - 2u < 3) {
        const std::size_t end =
            std::min(kDescriptor + 2 + (file[kDescriptor] | file[kDescriptor + 1] << 8), pageSize);
        for (std::size_t at = kDescriptor; at < end; ++at) {
            set("descriptor", at, file[at] ^ 0xff, 1);
            if (at % 16 == 0)
                visit("cut to " + std::to_string(at), FileBytes(file.begin(), file.begin() + at));
        }
    }

    // Pages by kind: their type, long-value pages told from data pages by their mark, page 1
    // holding the database's own usage maps; all alike when encoded (their bytes unreadable).
    std::map<int, std::vector<std::size_t>> pagesByKind;
    const std::size_t pageCount = file.size() / pageSize;
    for (std::size_t p = 1; p < pageCount; ++p) {
        const std::uint8_t* page = file.data() + p * pageSize;
        const bool lval = page[0] == 1 && !std::memcmp(page + 4, "LVAL", 4);
        pagesByKind[page[1] != 1 || p == 1 ? -page[1] : lval ? 0x10 : page[0]].push_back(p);
    }
    if (pagesByKind.size() > 10) { // random types: the pages are encoded
        pagesByKind = {{0, {}}};
        for (std::size_t p = 1; p < pageCount; ++p)
            pagesByKind[0].push_back(p);
    }
    std::mt19937 random(20261206);
    for (const auto& [kind, pages] : pagesByKind)
        for (std::size_t n = std::min<std::size_t>(pages.size(), 2), i = 0; i < n; ++i) {
            const std::size_t page = pages[i * pages.size() / n], base = page * pageSize;
            const std::string where =
                "kind " + std::to_string(kind) + " page " + std::to_string(page);
            for (std::size_t at = 0; at < 64; ++at) {
                if (at < 32)
                    set(where, base + at, file[base + at] ^ 0xff, 1);
                for (std::uint32_t value : {0xffffu, 0x8000u})
                    set(where, base + at, value, 2);
                if (at % 4 == 0)
                    for (std::uint32_t value : {0xffffffffu, 0x7fffffffu})
                        set(where, base + at, value, 4);
            }
            for (std::size_t at : {4, 8, 12})
                for (std::size_t value : {page, pageCount, pageCount + 1000})
                    set(where, base + at, static_cast<std::uint32_t>(value), 4);
            for (int k = 0; k < 24; ++k) {
                const std::size_t at = base + random() % (pageSize - 4);
                set(where, at, file[at] ^ (1u << (k % 8)), 1);
                set(where, at, static_cast<std::uint16_t>(random()), 2);
            }
        }
}

class MutatedFile : public testing::TestWithParam<const char*> {};

TEST_P(MutatedFile, GivesOnlyCleanErrors) {
    const std::string name = GetParam();
    const auto scratch = std::filesystem::temp_directory_path() /
                         ("augurlex-mutation-" + std::to_string(getpid()) + ".mdb");
    if (name == "ours") { // 40 rows, every seventh with a memo over several pages
        jet::createDatabase(
            scratch, {{"data", {{"Key", jet::ColumnType::Text}, {"Link", jet::ColumnType::Memo}}}},
            {"", 45000.0});
        jet::WriteSession s = jet::WriteSession::open(scratch);
        for (int i = 0; i < 40; ++i)
            s.appendRow("data", {{"Key", "key " + std::to_string(i)},
                                 {"Link", std::string(i % 7 == 0 ? 3000 : 40, 'x')}});
        s.commit();
    }
    const FileBytes original =
        readFile(name == "ours" ? scratch : std::filesystem::path(AUGURLEX_TESTDATA) / name);
    ASSERT_GT(original.size(), 4096u) << "no test file " << name;
    auto refusals = [&](const std::string& what, const FileBytes& bytes) {
        std::ofstream(scratch, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        try {
            describeEveryPage(scratch, false);
            return openAndDump(scratch);
        } catch (const std::exception& e) {
            ADD_FAILURE() << name << ", " << what << ": " << e.what();
        }
        return 0;
    };
    // An encrypted file refuses the program's password and none, then opens with its own.
    const int wrongPasswords = name.find("__encryption_") != std::string::npos ? 2 : 0;
    ASSERT_EQ(refusals("undamaged", original), wrongPasswords) << "the undamaged file must read";
    int cases = 0, refused = 0;
    forEachMutation(original, [&](const std::string& what, const FileBytes& bytes) {
        ++cases;
        refused += refusals(what, bytes) > wrongPasswords;
    });
    std::filesystem::remove(scratch);
    EXPECT_GT(refused, 0) << "none of " << cases << " damaged copies reached the engine";
}

// Jet 3 and Jet 4, long values and overflow rows, indexes, page encryption, a password; ACE with
// complex and calculated columns, and Office-encrypted (RC4 through the CryptoAPI, whose key
// costs one hash where AES's cost a hundred thousand); and a dictionary of ours, whose table
// takes rows.
INSTANTIATE_TEST_SUITE_P(
    TestData, MutatedFile,
    testing::Values("jackcess__testV1997.mdb", "jackcess__overflowTestV2000.mdb",
                    "jackcess__test2V2003.mdb", "jackcess__indexTestV1997.mdb",
                    "jackcess__delColTestV2003.mdb", "jackcessencrypt__db97-enc.mdb",
                    "mdbreader__password_V2000_no-password.mdb",
                    "jackcess__complexDataTestV2007.accdb", "ucanaccess__calculatedField.accdb",
                    "mdbreader__encryption_office-agile-4.2.accdb", "ours"));

} // namespace
} // namespace fuzzing
