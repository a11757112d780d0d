// The Help menu of the main window: the maker's help, home and download pages, and the about
// dialog.
#pragma once

#include <QMenu>

namespace weblinks {

class HelpMenu : public QMenu {
    Q_OBJECT
public:
    // The about dialog opens modally over `aboutOwner`, which also owns the menu.
    explicit HelpMenu(QWidget* aboutOwner);
};

} // namespace weblinks
