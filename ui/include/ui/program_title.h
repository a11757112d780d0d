// The program's names as its windows show them.
#pragma once

namespace ui {

// The title of message boxes that have none of their own.
inline constexpr const char* kApplicationTitle = "Augurlex";
// The caption of the program's windows.
inline constexpr const char* kTitleWithVersion = "Augurlex v1.95";

} // namespace ui
