// Attaches the browser window to the main frame and wires the frame's lookup controls to the
// lookup commands: the Search and Display buttons, the Enter key in the search box, the three
// search options, the double click on a keyword and the six toolbar buttons.
#pragma once

namespace augurlex {
class MDI;
}

namespace viewer {

class frmMain;

// Creates frmMain as the frame's document window and connects everything; the caller runs
// frmMain::Load() when start-up shows the window.
frmMain* ConnectLookup(augurlex::MDI& frame);

} // namespace viewer
