// The Help menu of the main window: the program's help pages, the maker's home and download
// pages, and the about dialog.
#pragma once

#include <QMenu>

namespace weblinks {

class HelpMenu : public QMenu {
    Q_OBJECT
public:
    // The about dialog opens modally over `aboutOwner`, which also owns the menu.
    explicit HelpMenu(QWidget* aboutOwner);

signals:
    // Help > Online Help: the help pages that ship with the program; the owner shows them.
    void onlineHelpChosen();
};

} // namespace weblinks
