// What the browser pane asks of its browser. The window uses the real one; tests put in one that
// records what was asked.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace viewer {

class Browser {
public:
    virtual ~Browser() = default;

    // The browser's widget, for the window's layout; nullptr for a stand-in.
    virtual QWidget* widget() = 0;
    virtual void setVisible(bool visible) = 0;

    // Only web addresses (see pane_address.h) and the pane's own pages (own_pages.h) reach this.
    virtual void navigate(const QUrl& address) = 0;
    // Each does nothing when it cannot act (no history, nothing loading).
    virtual void goBack() = 0;
    virtual void goForward() = 0;
    virtual void stop() = 0;
    virtual void refresh() = 0;
};

} // namespace viewer
