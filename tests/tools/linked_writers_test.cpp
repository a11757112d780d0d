// A dictionary linked into a second program folder is one file with two paths: a writer through
// either path holds the lock of the folder the file really is in, so a second writer through the
// other path is turned away instead of writing over the first one's rows. The first writer is
// held between reading the file and replacing it by the engine's commit hook, so nothing here
// depends on timing.
#include "augurlex-dict/commands.h"
#include "dictionary_folder.h"
#include "jet/atomic_file.h"
#include "jet/write_lock.h"
#include "store/program_files.h"
#include "update/merge.h"
#include "update/merge_report.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>

namespace dict {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

constexpr const char* kBusy = "another update of this folder is in progress";

class LinkedDictionary : public ::testing::Test {
protected:
    DictionaryFolder root;
    const std::string first = root.file("first"), second = root.file("second");
    const std::string linked = first + "/tarot.dll", real = second + "/tarot.dll";

    void SetUp() override {
        for (const std::string& folder : {first, second}) {
            fs::create_directories(folder);
            writeProgramFolder(folder, {"Tarot"});
        }
        writeDictionaryFile(real, {{"tarot", "Fool", "http://t/fool"}});
        fs::remove(linked);
        fs::create_symlink(real, linked);
        // A scratch file a killed writer left beside the real file.
        std::ofstream(second + "/.tarot.dll.augurlex-Ab12Cd") << "dead";
        jet::WriteLock::setDefaultWaitForTesting(std::chrono::milliseconds(0));
    }
    void TearDown() override {
        jet::setCommitHookForTesting({});
        jet::WriteLock::setDefaultWaitForTesting(std::chrono::seconds(10));
    }

    // Runs `writer`, and `second` while `writer` holds what it read, before its first commit.
    static void whileHeld(const std::function<void()>& writer, const std::function<void()>& other) {
        bool ran = false;
        jet::setCommitHookForTesting([&](jet::CommitStep step) {
            if (step != jet::CommitStep::CreateTemp || ran)
                return;
            ran = true;
            other();
        });
        writer();
        jet::setCommitHookForTesting({});
        ASSERT_TRUE(ran);
    }

    std::string update(const std::string& name, const Rows& rows) {
        writeDictionaryFile(root.file(name), rows);
        return root.file(name);
    }
    int import(const std::string& file, const std::string& csvText, std::string& message) {
        const std::string csv = root.file("rows.csv");
        std::ofstream(csv) << csvText;
        std::FILE* out = std::tmpfile();
        std::FILE* err = std::tmpfile();
        const int status = runCommandLine({"import", file, "--csv", csv}, out, err);
        std::rewind(err);
        char line[512] = {};
        message = std::fgets(line, sizeof line, err) ? line : "";
        std::fclose(out);
        std::fclose(err);
        return status;
    }
};

TEST_F(LinkedDictionary, TwoMergesThroughTwoFoldersOneWaitsAndNoRowIsLost) {
    const std::string a = update("a.mdb", {{"Tarot", "Magician", "http://t/magician"}});
    const std::string b = update("b.mdb", {{"tarot", "Empress", "http://t/empress"},
                                           {"Tarot", "Emperor", "http://t/emperor"}});
    update::MergeReport held, turnedAway;
    whileHeld([&] { held = update::mergeUpdateFile(a, first); },
              [&] { turnedAway = update::mergeUpdateFile(b, second); });
    EXPECT_TRUE(held.succeeded()) << update::reportText(held);
    EXPECT_EQ(turnedAway.failed(), 2u);
    EXPECT_EQ(turnedAway.added, 0u);
    // Said once, not once a row.
    EXPECT_EQ(update::reportText(turnedAway), "Rows read: 2\nAdded: 0\nDuplicates: 0\nFailed: 2\n"
                                              "Failed: all 2 rows failed: " +
                                                  std::string(kBusy) + "\n");
    EXPECT_EQ(readRows(real),
              (Lines{"tarot\tFool\thttp://t/fool", "tarot\tMagician\thttp://t/magician"}));
    EXPECT_TRUE(fs::is_symlink(linked));
    // The merge of the first folder held the second's lock, and cleared what was dead there.
    EXPECT_FALSE(fs::exists(second + "/.tarot.dll.augurlex-Ab12Cd"));

    // Once the first is done, the second goes through.
    EXPECT_TRUE(update::mergeUpdateFile(b, second).succeeded());
    EXPECT_EQ(readRows(linked).size(), 4u);
}

TEST_F(LinkedDictionary, AMergeAndAnImportOfOneFileThroughTwoFoldersNeverBothWrite) {
    const std::string a = update("a.mdb", {{"Tarot", "Magician", "http://t/magician"}});
    std::string message;
    int status = 0;
    update::MergeReport merged;
    whileHeld([&] { merged = update::mergeUpdateFile(a, first); },
              [&] { status = import(real, "Key,Link\nTower,http://t/tower\n", message); });
    EXPECT_TRUE(merged.succeeded()) << update::reportText(merged);
    EXPECT_EQ(status, kFailure);
    EXPECT_NE(message.find(kBusy), std::string::npos) << message;
    EXPECT_EQ(readRows(real).size(), 2u);

    // The other way round: an import through the link, a merge of the real file's folder.
    const std::string b = update("b.mdb", {{"Tarot", "Empress", "http://t/empress"}});
    whileHeld([&] { status = import(linked, "Key,Link\nTower,http://t/tower\n", message); },
              [&] { merged = update::mergeUpdateFile(b, second); });
    EXPECT_EQ(status, kSuccess) << message;
    EXPECT_EQ(merged.allRowsFailed, kBusy);
    EXPECT_EQ(readRows(real),
              (Lines{"tarot\tFool\thttp://t/fool", "tarot\tMagician\thttp://t/magician",
                     "\tTower\thttp://t/tower"}));
}

} // namespace
} // namespace dict
