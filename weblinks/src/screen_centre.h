#pragma once

class QWidget;

namespace augurlex {

// Moves a top-level window so that it sits in the middle of its screen's free area.
void CentreOnScreen(QWidget& window);

} // namespace augurlex
