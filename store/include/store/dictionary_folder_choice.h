// Where the program and augurlex-dict find the dictionaries, decided alike for both: the
// executable's own folder when it holds them and may be written (a build tree or a portable
// copy), otherwise the user's data folder, filled from the installed files on first use.
//
//   store::DictionaryFolderChoice choice = store::chooseDictionaryFolder(
//       executableFolder, store::UserEnvironment::fromProcess());
//   ... read and write the files in choice.folder ...
#pragma once

#include <string>
#include <vector>

namespace store {

// The program's name as the desktop knows it; also the last part of the user's data folder.
inline constexpr const char* kProgramName = "Augurlex";

// The parts of the environment the choice depends on, so a test can give its own.
struct UserEnvironment {
    std::string home;        // $HOME
    std::string xdgDataHome; // $XDG_DATA_HOME, "" when unset
    static UserEnvironment fromProcess();
};

// $XDG_DATA_HOME (or $HOME/.local/share when it is unset or empty) + "/Augurlex": the folder
// the desktop's conventions give this program for its data.
std::string userDataFolder(const UserEnvironment& environment);

struct DictionaryFolderChoice {
    std::string folder;
    // What could not be copied into the user's folder, one sentence each; empty when all went
    // well or nothing had to be copied.
    std::vector<std::string> problems;
};

// Chooses the folder and, when it is the user's, copies in the installed files the user lacks
// (see seedDictionaryFolder) from where the installation keeps them: the executable's own
// folder when it holds a catalogue (a portable copy on read-only media), else
// <executable folder>/../share/augurlex, so a package unpacked under any root finds them.
DictionaryFolderChoice chooseDictionaryFolder(const std::string& executableFolder,
                                              const UserEnvironment& environment);

// The folder of the running executable (from /proc/self/exe), "." when it cannot be read.
std::string runningExecutableFolder();

} // namespace store
