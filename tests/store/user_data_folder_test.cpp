// The user's data folder as the store computes it without Qt is the one Qt's
// QStandardPaths::AppDataLocation gives the program, under the name the program gives itself.
#include "store/dictionary_folder_choice.h"

#include <QCoreApplication>
#include <QStandardPaths>
#include <cstdlib>
#include <gtest/gtest.h>

namespace store {
namespace {

// Sets HOME and XDG_DATA_HOME (nullptr: unset) for both computations.
std::pair<std::string, std::string> bothFolders(const char* home, const char* dataHome) {
    ::setenv("HOME", home, 1);
    if (dataHome)
        ::setenv("XDG_DATA_HOME", dataHome, 1);
    else
        ::unsetenv("XDG_DATA_HOME");
    return {userDataFolder(UserEnvironment::fromProcess()),
            QStandardPaths::writableLocation(QStandardPaths::AppDataLocation).toStdString()};
}

TEST(UserDataFolder, IsWhereQtPutsTheProgramsData) {
    QCoreApplication::setApplicationName(kProgramName);
    for (auto [home, dataHome] :
         std::vector<std::pair<const char*, const char*>>{{"/home/ana", nullptr},
                                                          {"/home/ana/", nullptr},
                                                          {"/home/./ana//", ""},
                                                          {"/home/ana", "/srv/data"},
                                                          {"/home/ana", "/srv/data/"}}) {
        auto [ours, qt] = bothFolders(home, dataHome);
        EXPECT_EQ(ours, qt) << "HOME=" << home << " XDG_DATA_HOME=" << (dataHome ? dataHome : "");
    }
}

} // namespace
} // namespace store
