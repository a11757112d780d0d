#include "store/dictionary_folder_choice.h"

#include "store/dictionary_seeding.h"
#include "store/program_files.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>
#include <unistd.h>

namespace store {

namespace fs = std::filesystem;

namespace {

std::string environmentValue(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// The home folder as Qt cleans it: no "." or ".." steps, no trailing "/", "/" when unset.
std::string cleanedHome(const std::string& home) {
    if (home.empty())
        return "/";
    std::string cleaned = fs::path(home).lexically_normal().string();
    while (cleaned.size() > 1 && cleaned.back() == '/')
        cleaned.pop_back();
    return cleaned;
}

// Whether the folder holds a catalogue and the user may create files in it.
bool isSelfContainedFolder(const std::string& folder) {
    return catalogueExists(folder) && ::access(folder.c_str(), W_OK) == 0;
}

std::string installedDictionariesFolder(const std::string& executableFolder) {
    if (catalogueExists(executableFolder))
        return executableFolder;
    return (fs::path(executableFolder).parent_path() / "share" / "augurlex").string();
}

} // namespace

UserEnvironment UserEnvironment::fromProcess() {
    return {environmentValue("HOME"), environmentValue("XDG_DATA_HOME")};
}

std::string userDataFolder(const UserEnvironment& environment) {
    const std::string dataHome = environment.xdgDataHome.empty()
                                     ? cleanedHome(environment.home) + "/.local/share"
                                     : environment.xdgDataHome;
    return dataHome + "/" + kProgramName;
}

DictionaryFolderChoice chooseDictionaryFolder(const std::string& executableFolder,
                                              const UserEnvironment& environment) {
    if (isSelfContainedFolder(executableFolder))
        return {executableFolder, {}};
    const std::string folder = userDataFolder(environment);
    SeedReport seeded = seedDictionaryFolder(installedDictionariesFolder(executableFolder), folder);
    return {folder, std::move(seeded.problems)};
}

std::string runningExecutableFolder() {
    std::error_code failed;
    const fs::path self = fs::read_symlink("/proc/self/exe", failed);
    return failed ? std::string(".") : self.parent_path().string();
}

} // namespace store
