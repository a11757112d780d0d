// Turns a label into a link: a left click on it runs an action.
#pragma once

#include <functional>

class QLabel;

namespace ui {

enum class LinkPointer { Hand, Arrow };

// The action runs when a left button press on the label is released over it, or on Enter or
// Space while the label has the focus, which Tab gives it (it is underlined then). With
// LinkPointer::Hand the label shows the link pointer.
void makeLabelClickable(QLabel& label, std::function<void()> onClick,
                        LinkPointer pointer = LinkPointer::Hand);

// Draws the label's text in the style's link colour.
void colourAsLink(QLabel& label);

} // namespace ui
