// A merge killed at any moment (SIGKILL to `augurlex-dict merge` after delays spread over a
// whole merge) leaves every file readable and sound, each with its old rows or its old rows
// plus all of this merge's, and a catalogue that lists only files that are there.
#include "jet/check.h"
#include "store/modDB.h"
#include "update_files.h"

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace update_test {
namespace {

using Contents = std::map<std::string, std::vector<std::string>>;

pid_t startMerge(const std::string& updateFile, const std::string& folder) {
    pid_t pid = ::fork();
    if (pid == 0) {
        int devNull = ::open("/dev/null", O_WRONLY);
        ::dup2(devNull, 1);
        ::dup2(devNull, 2);
        ::execl(AUGURLEX_DICT_TOOL, AUGURLEX_DICT_TOOL, "merge", updateFile.c_str(), "--folder",
                folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    return pid;
}

int waitFor(pid_t pid) {
    int status = 0;
    ::waitpid(pid, &status, 0);
    return status;
}

TEST(Crash, AMergeKilledAtAnyPointLosesAndCorruptsNothing) {
    ScratchFolder base("crash-base"), elsewhere("crash-update");
    std::vector<std::string> names = {"Omens", "Runes", "Tarot", "Dream Signs", "Ogham", "Tea"};
    WriteProgramFolder(base.str(), names);
    for (const std::string& name : names) {
        std::vector<Record> rows;
        for (int i = 0; i < 1500; ++i)
            rows.push_back({modDB::LowerUtf8(name), "k" + std::to_string(i),
                            "http://" + name + "/" + std::to_string(i)});
        WriteDictionary(modDB::DictionaryPath(base.str(), name), rows);
    }
    std::vector<Record> update;
    const std::vector<std::string> targets = {"omens",       "RUNES",      "tarot",
                                              "Dream Signs", "Ogham",      "tea",
                                              "Runecasting", "Numerology", "astrology"};
    for (int i = 0; i < 3000; ++i) {
        const std::string& target = targets[i % targets.size()];
        update.push_back(
            {target, "u" + std::to_string(i), "http://" + target + "/" + std::to_string(i % 1700)});
    }
    const std::string updateFile = elsewhere.file("update.mdb");
    WriteDictionary(updateFile, update);

    const Contents before = FolderContents(base.path());
    ScratchFolder complete("crash-complete");
    CopyFolder(base.path(), complete.path());
    auto started = std::chrono::steady_clock::now();
    ASSERT_EQ(waitFor(startMerge(updateFile, complete.str())), 0);
    const auto whole = std::chrono::steady_clock::now() - started;
    const Contents after = FolderContents(complete.path());
    ASSERT_NE(after, before);

    const int kRuns = 60;
    int untouched = 0, finished = 0, between = 0;
    for (int run = 0; run < kRuns; ++run) {
        ScratchFolder folder("crash-run");
        CopyFolder(base.path(), folder.path());
        pid_t pid = startMerge(updateFile, folder.str());
        std::this_thread::sleep_for(whole * run / (kRuns - 10));
        ::kill(pid, SIGKILL);
        waitFor(pid);

        Contents now = FolderContents(folder.path());
        for (const auto& [file, rows] : now) {
            SCOPED_TRACE("run " + std::to_string(run) + ", " + file);
            ASSERT_TRUE(after.count(file)) << "a file no complete merge makes";
            bool old = before.count(file) && before.at(file) == rows;
            EXPECT_TRUE(old || after.at(file) == rows);
            EXPECT_EQ(jet::checkDatabase(folder.path() / file, modDB::kDatabasePassword),
                      std::vector<std::string>{});
        }
        for (const auto& [file, rows] : before)
            EXPECT_TRUE(now.count(file)) << "run " << run << ": " << file << " vanished";
        // Every dictionary the catalogue lists is there.
        for (const CatalogueRecord& listed : ReadCatalogue(folder.file("divination.dll")))
            EXPECT_TRUE(now.count(listed.database)) << "run " << run << ": " << listed.database;
        if (HasFailure())
            return;
        now == before ? ++untouched : now == after ? ++finished : ++between;
    }
    std::cout << "killed before any file changed: " << untouched << ", after all: " << finished
              << ", in between: " << between << "\n";
}

} // namespace
} // namespace update_test
