// Which folder holds the dictionaries, and the filling of the user's folder from the installed
// files: the copies are whole, the installed files never change, and the user's files are
// never replaced.
#include "dictionary_folder.h"
#include "store/dictionary_folder_choice.h"
#include "store/dictionary_seeding.h"
#include "store/files_for_appending.h"
#include "store/program_files.h"
#include "without_permission_override.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>

namespace store {
namespace {

using namespace testing_support;
namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string bytesOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

// Every file of a folder with its bytes, but the hidden ones (the write lock's).
std::map<std::string, std::string> snapshot(const std::string& folder) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().filename().string().front() != '.')
            files[entry.path().filename().string()] = bytesOf(entry.path().string());
    return files;
}

// An installation under a root of its own: an executable folder without dictionaries beside
// share/augurlex with them, and a data home for the user.
class InstalledProgram : public ::testing::Test {
protected:
    DictionaryFolder root;
    const std::string executables = root.file("usr/bin");
    const std::string installed = root.file("usr/share/augurlex");
    const UserEnvironment user{root.file("home"), root.file("home/data")};
    const std::string userFolder = root.file("home/data/Augurlex");

    void SetUp() override {
        fs::create_directories(executables);
        fs::create_directories(installed);
        install({{"omens", "Crow", "http://o/crow"}});
    }
    // The installed files of one version: its catalogue lists Omens and each dictionary named
    // by the rows' first field.
    void install(const Rows& omensRows, const std::vector<std::string>& more = {}) {
        std::vector<std::string> names{"Omens"};
        names.insert(names.end(), more.begin(), more.end());
        writeProgramFolder(installed, names);
        writeDictionaryFile(dictionaryPath(installed, "Omens"), omensRows);
    }
    std::string userFile(const std::string& name) const { return userFolder + "/" + name; }
    DictionaryFolderChoice choose() const { return chooseDictionaryFolder(executables, user); }
};

// The first start fills the user folder with exact copies and leaves the installed files alone;
// later starts keep the user's rows and add only new dictionaries.
TEST_F(InstalledProgram, FillsTheUserFolderWithCopiesAndLaterAddsOnlyNewDictionaries) {
    const auto installedFiles = snapshot(installed);
    const DictionaryFolderChoice choice = choose();
    EXPECT_EQ(choice.folder, userFolder);
    EXPECT_TRUE(choice.problems.empty());
    EXPECT_EQ(snapshot(installed), installedFiles);
    EXPECT_EQ(snapshot(userFolder), installedFiles);
    DictionaryFile omens = DictionaryFile::open(userFile("omens.dll"));
    omens.append({"omens", "Raven", "http://o/raven"});
    omens.commit();
    CatalogueFile catalogue = CatalogueFile::open(userFile("divination.dll"));
    catalogue.append("Tarot", "tarot.dll"); // a dictionary an update brought
    catalogue.commit();
    writeDictionaryFile(userFile("tarot.dll"), {{"tarot", "Fool", "http://t/fool"}});
    writeDictionaryFile(userFile("runes.dll"), {{"runes", "Mine", "http://mine"}}); // unlisted
    const auto userFiles = snapshot(userFolder);

    EXPECT_EQ(choose().folder, userFolder);
    EXPECT_EQ(snapshot(userFolder), userFiles); // the same version again changes nothing

    // A newer version: Omens changed, Runes and Dreams are new.
    install({{"omens", "Owl", "http://o/owl"}}, {"Runes", "Dreams"});
    const SeedReport report = seedDictionaryFolder(installed, userFolder);
    EXPECT_TRUE(report.problems.empty());
    EXPECT_EQ(report.copied, Lines{"dreams.dll"});
    EXPECT_EQ(report.listed, Lines{"Dreams"});
    EXPECT_EQ(readRows(userFile("omens.dll")),
              (Lines{"omens\tCrow\thttp://o/crow", "omens\tRaven\thttp://o/raven"}));
    EXPECT_EQ(bytesOf(userFile("runes.dll")), userFiles.at("runes.dll"));
    EXPECT_EQ(bytesOf(userFile("tarot.dll")), userFiles.at("tarot.dll"));
    EXPECT_EQ(bytesOf(userFile("dreams.dll")), bytesOf(dictionaryPath(installed, "Dreams")));
    EXPECT_EQ(readRows(userFile("divination.dll")),
              (Lines{"Omens\tomens.dll", "Tarot\ttarot.dll", "Dreams\tdreams.dll"}));
}

TEST_F(InstalledProgram, AMissingCatalogueIsCopiedAfterTheDictionariesItListsAndNoneIsReplaced) {
    fs::create_directories(userFolder);
    writeDictionaryFile(userFile("omens.dll"), {{"omens", "Mine", "http://mine"}});
    const std::string mine = bytesOf(userFile("omens.dll"));
    const SeedReport report = seedDictionaryFolder(installed, userFolder);
    EXPECT_EQ(report.copied, (Lines{"clone.dll", "divination.dll"}));
    EXPECT_EQ(bytesOf(userFile("omens.dll")), mine);
}

TEST_F(InstalledProgram, ProblemsAreReportedAndTheUserFolderIsStillChosen) {
    fs::remove(cataloguePath(installed));
    DictionaryFolderChoice choice = choose();
    EXPECT_EQ(choice.folder, userFolder);
    ASSERT_EQ(choice.problems.size(), 1u);
    EXPECT_EQ(choice.problems[0].rfind("no installed dictionaries to copy: ", 0), 0u);

    install({}, {"../Outside"}); // a name is never a way out of the folder
    choice = choose();
    ASSERT_EQ(choice.problems.size(), 1u);
    EXPECT_NE(choice.problems[0].find("outside its folder: ../outside.dll"), std::string::npos);
    EXPECT_FALSE(fs::exists(root.file("home/data/outside.dll")));
    EXPECT_TRUE(fs::exists(userFile("omens.dll")));

    std::ofstream(root.file("blocked")) << "a file where the folder should be";
    choice = chooseDictionaryFolder(executables, {user.home, root.file("blocked")});
    EXPECT_EQ(choice.folder, root.file("blocked") + "/Augurlex");
    ASSERT_EQ(choice.problems.size(), 1u);
    EXPECT_NE(choice.problems[0].find("cannot be made"), std::string::npos);
}

TEST_F(InstalledProgram, AWritableFolderHoldingACatalogueIsUsedInPlace) {
    writeProgramFolder(executables, {"Runes"}); // a build tree or a portable copy
    EXPECT_EQ(choose().folder, executables);
    EXPECT_FALSE(fs::exists(userFolder));
}

TEST_F(InstalledProgram, AReadOnlyPortableCopyFillsTheUserFolderFromItsOwnFiles) {
    writeProgramFolder(executables, {"Runes"});
    fs::permissions(executables, fs::perms::owner_write, fs::perm_options::remove);
    const int result = runWithoutPermissionOverride([&] {
        const DictionaryFolderChoice choice = choose();
        return choice.folder == userFolder && choice.problems.empty() ? 0 : 1;
    });
    fs::permissions(executables, fs::perms::owner_write, fs::perm_options::add);
    EXPECT_EQ(result, 0);
    EXPECT_EQ(readRows(userFile("divination.dll")), Lines{"Runes\trunes.dll"});
}

} // namespace
} // namespace store
