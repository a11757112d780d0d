// Damaged files must give a clean jet::Error or read successfully: never a crash, a hang, another
// exception or (under the sanitizer build) undefined behaviour.
#include "file_mutations.h"
#include "open_and_dump.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace fuzzing {
namespace {

const std::filesystem::path kTestData = AUGURLEX_TESTDATA;

FileBytes readFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return FileBytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

class ScratchFile {
public:
    ScratchFile()
        : path_(std::filesystem::temp_directory_path() /
                ("augurlex-mutation-" + std::to_string(getpid()) + ".mdb")) {}
    ~ScratchFile() { std::filesystem::remove(path_); }
    const std::filesystem::path& write(const FileBytes& bytes) {
        std::ofstream out(path_, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path_;
    }

private:
    std::filesystem::path path_;
};

// Opens and dumps the bytes; a failure names the damage that caused it.
// Returns how many of the two opening attempts were refused.
int expectCleanOutcome(ScratchFile& scratch, const std::string& what, const FileBytes& bytes) {
    try {
        return openAndDump(scratch.write(bytes));
    } catch (const std::exception& e) {
        ADD_FAILURE() << what << ": " << typeid(e).name() << ": " << e.what();
    } catch (...) {
        ADD_FAILURE() << what << ": unknown exception";
    }
    return 0;
}

class MutatedFile : public testing::TestWithParam<const char*> {};

TEST_P(MutatedFile, GivesOnlyCleanErrors) {
    std::filesystem::path source = kTestData / GetParam();
    if (!std::filesystem::exists(source))
        GTEST_SKIP() << "no test file " << source;
    FileBytes original = readFile(source);
    ScratchFile scratch;
    ASSERT_EQ(openAndDump(scratch.write(original)), 0) << "the undamaged file must read";
    int cases = 0, refused = 0;
    forEachMutation(original, 2, [&](const std::string& what, const FileBytes& bytes) {
        ++cases;
        refused += expectCleanOutcome(scratch, std::string(GetParam()) + ", " + what, bytes) > 0;
    });
    std::printf("%s: %d damaged copies, %d refused with jet::Error\n", GetParam(), cases, refused);
    EXPECT_GT(refused, 0) << "the damage never reached the engine";
}

// Jet 3 and Jet 4, long values and overflow rows, indexes, page encryption, a password.
INSTANTIATE_TEST_SUITE_P(TestData, MutatedFile,
                         testing::Values("jackcess__testV1997.mdb",
                                         "jackcess__overflowTestV2000.mdb",
                                         "jackcess__test2V2003.mdb", "jackcess__indexTestV1997.mdb",
                                         "jackcess__delColTestV2003.mdb",
                                         "jackcessencrypt__db97-enc.mdb",
                                         "mdbreader__password_V2000_no-password.mdb"));

TEST(PageKinds, AreRecognisedInAPlainFile) {
    std::filesystem::path source = kTestData / "jackcess__test2V2003.mdb";
    if (!std::filesystem::exists(source))
        GTEST_SKIP() << "no test data";
    PageLayout layout = describePages(readFile(source));
    EXPECT_EQ(layout.pageSize, 4096u);
    EXPECT_FALSE(layout.encrypted);
    for (PageKind kind : {PageKind::Header, PageKind::Data, PageKind::LongValue,
                          PageKind::TableDefinition, PageKind::Index, PageKind::UsageMap})
        EXPECT_NE(std::find(layout.kinds.begin(), layout.kinds.end(), kind), layout.kinds.end())
            << pageKindName(kind);
}

} // namespace
} // namespace fuzzing
