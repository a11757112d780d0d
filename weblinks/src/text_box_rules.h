// The behaviour of the exit screen's text boxes: placeholders and e-mail boxes without spaces.
#pragma once

#include <QString>

class QWidget;

namespace weblinks {

// The box is emptied when it gets the focus while holding its placeholder (ignoring spaces at the
// ends), and gets its placeholder back when it loses the focus while holding only spaces.
// Switching to another window and back does not count as a change of focus.
void addPlaceholder(QWidget& textBox, const QString& placeholder);

// Typing a space is refused with a message; the focus stays in the box.
void rejectTypedSpaces(QWidget& textBox);

} // namespace weblinks
