// The title with version that the program's windows carry as their caption.
#pragma once

namespace augurlex {

inline constexpr const char* kTitleWithVersion = "Augurlex v1.95";

} // namespace augurlex
