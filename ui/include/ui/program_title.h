// The program's names as its windows show them.
#pragma once

namespace ui {

// The title of message boxes that have none of their own.
inline constexpr const char* kApplicationTitle = "Augurlex";
// The caption of the program's windows, with the version the build gives (the project's version
// in CMakeLists.txt, the one the package, metainfo and manual pages carry too).
inline constexpr const char* kTitleWithVersion = "Augurlex v" AUGURLEX_VERSION;

} // namespace ui
