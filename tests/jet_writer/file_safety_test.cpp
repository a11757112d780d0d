// Writers that never lose data: one writer at a time per folder, scratch files that a later
// writer clears, a commit that replaces only the file it read, and the file's attributes kept.
#include "jet/create.h"
#include "jet/write_lock.h"
#include "jet/write_session.h"
#include "support.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace jet {
namespace {

namespace fs = std::filesystem;

fs::path dictionary(test::ScratchDir& dir, const std::string& name) {
    return dir.write(name, buildDatabase(test::kDictionary, {"", 45000.0}));
}

void appendAndCommit(const fs::path& path) {
    WriteSession s = WriteSession::open(path);
    s.appendRow("data", {{"Key", std::string("k")}});
    s.commit();
}

TEST(WriteLock, ASecondWriterWaitsThenGivesUp) {
    test::ScratchDir dir;
    {
        WriteLock held = WriteLock::acquire(dir.path);
        const std::string message = test::errorOf(
            ErrorKind::Busy, [&] { WriteLock::acquire(dir.path, std::chrono::milliseconds(100)); });
        EXPECT_EQ(message, "another update of this folder is in progress");
        WriteLock moved = std::move(held); // the lock goes with the object
        test::errorOf(ErrorKind::Busy, [&] { WriteLock::acquire(dir.path, {}); });
    }
    WriteLock::acquire(dir.path, {});    // released with its holder
    EXPECT_TRUE(fs::is_empty(dir.path)); // and no lock file left behind
}

TEST(WriteLock, ClearsOnlyTheScratchFilesOfKilledWriters) {
    test::ScratchDir dir;
    const std::vector<std::uint8_t> some{1, 2, 3};
    dir.write(".words.mdb.augurlex-a1B2c3", some); // a killed writer's
    for (const char* kept : {"words.mdb", ".words.mdb.augurlex-a1B2", ".words.mdb.XyZ123",
                             "x.augurlex-a1B2c3", ".words.mdb.augurlex-a1B2c3.bak"})
        dir.write(kept, some);
    fs::create_directory(dir.path / ".sub.augurlex-a1B2c3");
    WriteLock::acquire(dir.path);
    EXPECT_FALSE(fs::exists(dir.path / ".words.mdb.augurlex-a1B2c3"));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 6);
}

TEST(CommitSafety, AFileReplacedBehindTheSessionIsNotOverwritten) {
    test::ScratchDir dir;
    const fs::path path = dictionary(dir, "w.mdb");
    WriteSession mine = WriteSession::open(path);
    mine.appendRow("data", {{"Key", std::string("mine")}});
    appendAndCommit(path); // another writer got there first
    const auto theirs = test::readBytes(path);
    const std::string message = test::errorOf(ErrorKind::Io, [&] { mine.commit(); });
    EXPECT_TRUE(test::mentions(message, "was changed by another program")) << message;
    EXPECT_EQ(test::readBytes(path), theirs);
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(CommitSafety, AReadOnlyFileIsRefusedUnchanged) {
    test::ScratchDir dir;
    const fs::path path = dictionary(dir, "ro.mdb");
    fs::permissions(path, fs::perms(0444));
    const auto before = test::readBytes(path);
    const std::string message = test::errorOf(ErrorKind::Io, [&] { appendAndCommit(path); });
    EXPECT_EQ(message, path.string() + ": the file is read-only; nothing was written");
    EXPECT_EQ(test::readBytes(path), before);
    EXPECT_EQ(fs::status(path).permissions(), fs::perms(0444));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path), fs::directory_iterator()), 1);
}

TEST(CommitSafety, ALinkStaysALinkAndItsTargetTakesTheRows) {
    test::ScratchDir dir;
    fs::create_directory(dir.path / "real");
    const fs::path target = dictionary(dir, "real/words.mdb");
    fs::permissions(target, fs::perms(0640));
    const fs::path link = dir.path / "link.mdb";
    fs::create_symlink("real/words.mdb", link);
    appendAndCommit(link);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(test::allRows(target, "data").size(), 1u);
    EXPECT_EQ(fs::status(target).permissions(), fs::perms(0640));
    EXPECT_EQ(std::distance(fs::directory_iterator(dir.path / "real"), fs::directory_iterator()),
              1);
}

TEST(CommitSafety, TheReplacedFileKeepsItsModeAndGroup) {
    test::ScratchDir dir;
    const fs::path path = dictionary(dir, "g.mdb");
    fs::permissions(path, fs::perms(0604));
    // A group other than the writer's own, where the writer may give one.
    const gid_t group = ::getuid() == 0 ? 1 : ::getgid();
    ASSERT_EQ(::chown(path.c_str(), static_cast<uid_t>(-1), group), 0);
    appendAndCommit(path);
    struct stat st {};
    ASSERT_EQ(::stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0604u);
    EXPECT_EQ(st.st_gid, group);
}

} // namespace
} // namespace jet
