// The generations of the file format: Jet 3 (Access 97), Jet 4 (Access 2000 to 2003) and the
// ACE formats of Access 2007 and later, which keep Jet 4's pages and rows and add column types.
// A header of its own, so that the file layer can name them without the database's interface.
#pragma once

namespace jet {

enum class Version { Jet3, Jet4, Ace12, Ace14, Ace16, Ace17 };

// Access 2007 and later (".accdb").
constexpr bool isAce(Version v) {
    return v != Version::Jet3 && v != Version::Jet4;
}

// How the program names each format to a user.
constexpr const char* versionName(Version v) {
    switch (v) {
    case Version::Jet3:
        return "Jet 3 (Access 97)";
    case Version::Jet4:
        return "Jet 4 (Access 2000-2003)";
    case Version::Ace12:
        return "ACE 12 (Access 2007)";
    case Version::Ace14:
        return "ACE 14 (Access 2010)";
    case Version::Ace16:
        return "ACE 16 (Access 2016)";
    case Version::Ace17:
        return "ACE 17 (Access 2019)";
    }
    return "unknown";
}

} // namespace jet
