// What failures leave behind: a commit that fails at any step leaves the old file whole, a file
// that cannot be saved says so, and a damaged file is never written to.
#include "jet/atomic_file.h"
#include "jet/create.h"
#include "jet/write_session.h"
#include "read/state.h"
#include "support.h"

#include <gtest/gtest.h>

namespace jet {
namespace {

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                  std::filesystem::directory_iterator()));
}

struct HookReset {
    ~HookReset() { setCommitHookForTesting(nullptr); }
};

TEST(Commit, FailingAtEachStepLeavesTheOldFileAndTheSessionReady) {
    HookReset reset;
    for (CommitStep failing : {CommitStep::CreateTemp, CommitStep::WriteTemp, CommitStep::SyncTemp,
                               CommitStep::CloseTemp, CommitStep::Rename, CommitStep::SyncFolder}) {
        SCOPED_TRACE(static_cast<int>(failing));
        test::ScratchDir dir;
        const auto path = dir.write("c.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
        const auto original = test::readBytes(path);
        WriteSession s = WriteSession::open(path);
        s.appendRow("data", {{"Key", std::string("k")}, {"Link", std::string(5000, 'x')}});
        setCommitHookForTesting([&](CommitStep step) {
            if (step == failing)
                throw Error(ErrorKind::Io, "injected");
        });
        test::errorOf(ErrorKind::Io, [&] { s.commit(); });
        setCommitHookForTesting(nullptr);
        EXPECT_EQ(filesIn(dir.path), 1u); // no temporary file is left behind
        // Up to the rename the old file stays; after it the new one is there whole.
        if (failing == CommitStep::SyncFolder)
            EXPECT_EQ(test::allRows(path, "data").size(), 1u);
        else
            EXPECT_EQ(test::readBytes(path), original);
        s.commit(); // the session still holds its row
        EXPECT_EQ(test::allRows(path, "data").size(), 1u);
    }
}

TEST(Commit, AFileThatCannotBeSaved) {
    test::ScratchDir dir;
    const auto path = dir.write("d.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
    WriteSession s = WriteSession::open(path);
    s.appendRow("data", {{"Key", std::string("k")}});
    // A folder has taken the file's place: the new contents cannot be renamed over it.
    std::filesystem::remove(path);
    std::filesystem::create_directory(path);
    EXPECT_TRUE(test::mentions(test::errorOf(ErrorKind::Io, [&] { s.commit(); }), path.string()));
    EXPECT_TRUE(std::filesystem::is_empty(path));
    EXPECT_EQ(filesIn(dir.path), 1u);
    test::errorOf(ErrorKind::Io, [&] { s.commitAs("/nonexistent-folder-of-jet-tests/x.mdb"); });
}

// An append that fails once its first pages have changed leaves pages half-written: the session
// refuses to commit them, and the file keeps every byte it had.
TEST(Commit, AnAppendThatFailedHalfWayIsNeverCommitted) {
    test::ScratchDir dir;
    const auto path = dir.write("h.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
    const auto original = test::readBytes(path);
    WriteSession s = WriteSession::open(path);
    s.appendRow("data", {{"Key", std::string("whole")}});
    int changes = 0;
    detail::DatabaseAccess::state(s.database())->pages.setChangeHookForTesting([&](std::uint32_t) {
        if (++changes == 2)
            throw Error(ErrorKind::Io, "injected");
    });
    test::errorOf(ErrorKind::Io, [&] {
        s.appendRow("data", {{"Key", std::string("half")}, {"Link", std::string(5000, 'x')}});
    });
    test::errorOf(ErrorKind::Invalid, [&] { s.commit(); });
    EXPECT_EQ(test::readBytes(path), original);
}

// Appending to a damaged file would make it worse: the writer refuses it whole, naming the fault.
TEST(Commit, ADamagedFileIsRefusedForWriting) {
    test::ScratchDir dir;
    const auto created = dir.write("made.mdb", buildDatabase(test::kDictionary, {"", 45000.0}));
    test::Anatomy file(created);
    auto bytes = file.bytes;
    // The memo column's map of long-value pages no longer holds a usage map.
    bytes[file.rowOffset(file.tableDef("data").longValueMaps.at(0).ownedMap)] = 0x07;
    const auto path = dir.write("damaged.mdb", bytes);
    const std::string message =
        test::errorOf(ErrorKind::Corrupt, [&] { WriteSession::open(path); });
    EXPECT_TRUE(test::mentions(message, "table \"data\"")) << message;
    EXPECT_TRUE(test::mentions(message, path.string())) << message;
    EXPECT_EQ(test::readBytes(path), bytes);
}

} // namespace
} // namespace jet
