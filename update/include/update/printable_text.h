// Names, keys and reasons as they may appear in a report or a message: control characters are
// written as escapes (a newline as "\n", character 1 as "\x01"), so a name can neither split a
// report line nor cut a message short with a NUL.
#pragma once

#include <string>
#include <string_view>

namespace update {

std::string PrintableText(std::string_view text);

} // namespace update
