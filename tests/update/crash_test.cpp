// A merge killed at any step leaves every file sound, with its old records or all of the merge's,
// and a catalogue listing only files that are there. The kill points are found, not timed:
// `augurlex-dict merge` runs under ptrace and is killed as it is about to make its n-th change to
// a file, for every n. A merge run after each kill must end exactly as an uninterrupted one.
#include "dictionary_folder.h"
#include "jet/check.h"
#include "store/program_files.h"

#include <algorithm>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <signal.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using namespace testing_support;
using Contents = std::map<std::string, std::vector<std::string>>;

bool changesAFile(const __ptrace_syscall_info& call) {
    static const std::set<unsigned long long> kChanges = {
#ifdef SYS_rename
        SYS_rename,   SYS_unlink,
#endif
        SYS_renameat, SYS_renameat2, SYS_unlinkat, SYS_write, SYS_pwrite64,
        SYS_writev,   SYS_ftruncate, SYS_fchmod,   SYS_fsync, SYS_fdatasync};
    return kChanges.count(call.entry.nr) ||
           (call.entry.nr == SYS_openat && (call.entry.args[2] & O_CREAT));
}

// Starts a merge, traced from its exec when `traced`; returns its process id.
pid_t startMerge(const std::string& updateFile, const std::string& folder, bool traced = false) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (traced)
            ::ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        ::dup2(::open("/dev/null", O_WRONLY), 1);
        ::execl(AUGURLEX_DICT_TOOL, AUGURLEX_DICT_TOOL, "merge", updateFile.c_str(), "--folder",
                folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

// Each file's records in order, so that merges that ran in either order compare equal.
Contents sorted(Contents contents) {
    for (auto& [file, rows] : contents)
        std::sort(rows.begin(), rows.end());
    return contents;
}

// Runs the merge, killed as it enters its change number `killAt` (0 the first) when it gets
// that far; returns the number of changes begun, and the exit status in `status`.
int runMerge(const std::string& updateFile, const std::string& folder, int killAt, int& status) {
    const pid_t pid = startMerge(updateFile, folder, true);
    ::waitpid(pid, &status, 0); // stopped at the exec
    ::ptrace(PTRACE_SETOPTIONS, pid, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int changes = 0;
    for (long signal = 0;;) {
        ::ptrace(PTRACE_SYSCALL, pid, nullptr, signal);
        ::waitpid(pid, &status, 0);
        if (WIFEXITED(status) || WIFSIGNALED(status))
            return changes;
        signal = WSTOPSIG(status) == (SIGTRAP | 0x80) ? 0 : WSTOPSIG(status); // pass signals on
        __ptrace_syscall_info call{};
        ::ptrace(PTRACE_GET_SYSCALL_INFO, pid, sizeof call, &call);
        if (call.op == PTRACE_SYSCALL_INFO_ENTRY && changesAFile(call) && changes++ == killAt) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return changes;
        }
    }
}

TEST(Crash, AMergeKilledBeforeAnyChangeToAFileLosesAndCorruptsNothing) {
    DictionaryFolder base, complete, elsewhere;
    // Five dictionaries, named in the update in various cases, and two new ones.
    const std::vector<std::string> targets = {"omens", "RUNES",       "tarot",     "Dream Signs",
                                              "Ogham", "Runecasting", "Numerology"};
    writeProgramFolder(base.path(), {targets.begin(), targets.begin() + 5});
    Rows update, held; // each dictionary holds the first half of its addresses in the update
    for (int i = 0; i < 700; ++i) {
        const std::string& target = targets[i % 7];
        update.push_back({target, "k", "http://" + target + "/" + std::to_string(i % 100)});
        if (i % 100 < 50 && i % 7 < 5)
            held.push_back(update.back());
    }
    for (int n = 0; n < 5; ++n)
        writeDictionaryFile(store::dictionaryPath(base.path(), targets[n]), held);
    writeDictionaryFile(elsewhere.file("update.mdb"), update);
    // A second update, run beside some of the killed merges: an existing and a new dictionary.
    Rows second;
    for (int i = 0; i < 60; ++i)
        second.push_back({i % 2 ? "tarot" : "Scrying", "s", "http://second/" + std::to_string(i)});
    writeDictionaryFile(elsewhere.file("second.mdb"), second);

    const Contents before = folderContents(base.path());
    copyFolder(base.path(), complete.path());
    int status = 0;
    const int changes = runMerge(elsewhere.file("update.mdb"), complete.path(), -1, status);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;
    const Contents after = folderContents(complete.path());
    ASSERT_NE(after, before);

    DictionaryFolder both;
    copyFolder(complete.path(), both.path());
    runMerge(elsewhere.file("second.mdb"), both.path(), -1, status);
    const Contents afterBoth = sorted(folderContents(both.path()));

    int between = 0;
    for (int killAt = 0; killAt < changes && !HasFailure(); ++killAt) {
        SCOPED_TRACE("killed at change " + std::to_string(killAt));
        DictionaryFolder folder;
        copyFolder(base.path(), folder.path());
        // Every third time a second merge runs beside the one killed: it waits for the lock
        // or holds it first, and never loses the killed one's records nor its own.
        const bool beside = killAt % 3 == 0;
        const pid_t other = beside ? startMerge(elsewhere.file("second.mdb"), folder.path()) : 0;
        runMerge(elsewhere.file("update.mdb"), folder.path(), killAt, status);
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
        if (beside) {
            int otherStatus = 0;
            ::waitpid(other, &otherStatus, 0);
            ASSERT_TRUE(WIFEXITED(otherStatus) && WEXITSTATUS(otherStatus) == 0) << otherStatus;
            runMerge(elsewhere.file("update.mdb"), folder.path(), -1, status);
            EXPECT_EQ(sorted(folderContents(folder.path())), afterBoth);
            for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
                EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path();
            continue;
        }
        const Contents now = folderContents(folder.path());
        for (const auto& [file, rows] : now) {
            ASSERT_TRUE(after.count(file)) << file << ": a file no complete merge makes";
            EXPECT_TRUE((before.count(file) && before.at(file) == rows) || after.at(file) == rows)
                << file;
            EXPECT_EQ(jet::checkDatabase(folder.file(file), store::kDatabasePassword),
                      std::vector<std::string>{});
        }
        for (const auto& [file, rows] : before)
            EXPECT_TRUE(now.count(file)) << file << " vanished";
        for (const std::string& listed : now.at("divination.dll"))
            EXPECT_TRUE(now.count(listed.substr(listed.find('\t') + 1))) << listed;
        between += now != before && now != after;

        // The next merge clears what the killed one left and finishes its work exactly.
        runMerge(elsewhere.file("update.mdb"), folder.path(), -1, status);
        EXPECT_EQ(folderContents(folder.path()), after);
        for (const auto& entry : std::filesystem::directory_iterator(folder.path()))
            EXPECT_NE(entry.path().filename().string()[0], '.') << entry.path() << " left behind";
    }
    EXPECT_GT(between, 0); // some kills fell between the first change and the last
}

} // namespace
