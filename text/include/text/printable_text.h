// Names, keys and reasons as they may appear in a report or a message: control characters are
// written as escapes (a newline as "\n", character 1 as "\x01", U+009B as "\u009b") and so are
// bytes that are not UTF-8 ("\xff"), so a name can neither split a report line, nor cut a
// message short with a NUL, nor send a terminal an escape sequence. Unicode's format characters
// (a byte-order mark as "\ufeff", zero-width and direction marks, "\U000e0041" beyond the BMP)
// are escaped too: invisible, they would make two different names look alike.
#pragma once

#include <string>
#include <string_view>

namespace text {

std::string printableText(std::string_view text);

} // namespace text
