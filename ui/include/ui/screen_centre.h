// Centring a window on its screen.
#pragma once

class QWidget;

namespace ui {

// Moves a top-level window so that it sits in the middle of its screen's free area.
void centreOnScreen(QWidget& window);

} // namespace ui
