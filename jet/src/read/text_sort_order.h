// The text sort orders the engine knows the weights of, as a column's definition names them.
#pragma once

namespace jet::detail {

// General: the current "General" order; GeneralLegacy: that of Access 2000-2003 files;
// General97: Access 97 files, whose text is in Windows-1252.
enum class TextSortOrder { General, GeneralLegacy, General97 };

} // namespace jet::detail
