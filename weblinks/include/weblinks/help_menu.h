// The Help menu and Donate entry of the main window's menu bar, and the main window's link
// controls.
#pragma once

class QAction;
class QMenu;
class QMenuBar;
class QWidget;

namespace augurlex {

struct HelpMenuEntries {
    QAction* mnuOnline = nullptr;
    QAction* mnuVisit = nullptr;
    QAction* mnuHelpSep1 = nullptr;
    QAction* mnuUpdateSoftware = nullptr;
    QAction* mnuHelpSep2 = nullptr;
    QAction* mnuAbout = nullptr;
};

// Appends the Help entries, top to bottom, to the given menu and wires them. The about window
// opens modally over `aboutOwner`.
HelpMenuEntries FillHelpMenu(QMenu& mnuHelp, QWidget* aboutOwner);

// Appends "&Help" (filled as above) and then the "&Donate" entry, which has no submenu and acts
// at once, to the right of what the bar already holds. Returns the Help menu; the Donate entry is
// the bar's action named "mnuDonate".
QMenu* AddHelpAndDonateMenus(QMenuBar& bar, QWidget* aboutOwner);

// Wires the clicks of the main window's link controls, found by object name below `mainWindow`:
// cmdDonate, lblPicTop2, lblFullBrand, lblCoBrand, Label61 and Label4. The labels other than
// Label4 get the link pointer. A control that is not there is passed over.
void WireMainWindowLinks(QWidget& mainWindow);

} // namespace augurlex
