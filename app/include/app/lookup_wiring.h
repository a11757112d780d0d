// Wires the main window's lookup controls to the lookup commands and to the browser pane: the
// Search and Display buttons, the Enter key in the search box, the three search options, the
// double click on a keyword and the six toolbar buttons (Back, Forward and Stop enabled only while
// the pane's browser can do what they ask).
#pragma once

namespace viewer {
class BrowserPane;
}

namespace app {

class MainWindow;

// The commands live as long as the window; the pane must be the window's document window.
void connectLookup(MainWindow& window, viewer::BrowserPane& pane);

} // namespace app
