// The picture of the program that its dialogs show beside their text.
#pragma once

#include <QPixmap>

class QWidget;

namespace ui {

// The application's icon at 32 by 32 pixels, or the style's information icon when the
// application has none.
QPixmap programIconPixmap(const QWidget& window);

} // namespace ui
