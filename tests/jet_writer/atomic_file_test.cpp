// A replacement that fails at any step before the rename leaves the old file as it was.
#include "jet/atomic_file.h"
#include "jet/error.h"
#include "support.h"

#include <gtest/gtest.h>

namespace jet::detail {
namespace {

struct HookReset {
    ~HookReset() { setCommitHookForTesting(nullptr); }
};

TEST(AtomicFile, ReplacesContentsAndKeepsMode) {
    test::ScratchDir dir;
    auto path = dir.write("f.bin", {1, 2, 3});
    std::filesystem::permissions(path, std::filesystem::perms(0600));
    std::vector<std::uint8_t> next(10000, 7);
    replaceFileAtomically(path, next);
    EXPECT_EQ(test::readBytes(path), next);
    EXPECT_EQ(std::filesystem::status(path).permissions(), std::filesystem::perms(0600));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                            std::filesystem::directory_iterator()),
              1);
}

TEST(AtomicFile, FailureAtEveryStepBeforeRenameKeepsOldFile) {
    HookReset reset;
    for (CommitStep failing : {CommitStep::CreateTemp, CommitStep::WriteTemp, CommitStep::SyncTemp,
                               CommitStep::CloseTemp, CommitStep::Rename}) {
        test::ScratchDir dir;
        const std::vector<std::uint8_t> old{9, 8, 7, 6};
        auto path = dir.write("f.bin", old);
        setCommitHookForTesting([&](CommitStep s) {
            if (s == failing)
                throw Error(ErrorKind::Io, "injected");
        });
        EXPECT_THROW(replaceFileAtomically(path, std::vector<std::uint8_t>(5000, 1)), Error);
        EXPECT_EQ(test::readBytes(path), old) << static_cast<int>(failing);
        // No temporary file is left behind.
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(path.parent_path()),
                                std::filesystem::directory_iterator()),
                  1);
    }
}

TEST(AtomicFile, MissingFolderIsAnIoError) {
    try {
        replaceFileAtomically("/nonexistent-folder/x.mdb", std::vector<std::uint8_t>{1});
        FAIL();
    } catch (const Error& e) {
        EXPECT_EQ(e.kind(), ErrorKind::Io);
        EXPECT_NE(std::string(e.what()).find("/nonexistent-folder/x.mdb"), std::string::npos);
    }
}

} // namespace
} // namespace jet::detail
