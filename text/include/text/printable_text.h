// Names, keys and reasons as they may appear in a report or a message: control characters are
// written as escapes (a newline as "\n", character 1 as "\x01", U+009B as "\u009b") and so are
// bytes that are not UTF-8 ("\xff"), so a name can neither split a report line, nor cut a
// message short with a NUL, nor send a terminal an escape sequence.
#pragma once

#include <string>
#include <string_view>

namespace text {

std::string printableText(std::string_view text);

} // namespace text
