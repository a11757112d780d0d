// What the browser pane asks of its browser. The window uses the real one; tests put in one that
// records what was asked.
#pragma once

#include <QString>
#include <QUrl>

class QWidget;

namespace viewer {

// What the browser can do and is doing, for the toolbar's buttons and the pane's status line.
struct NavigationState {
    bool canGoBack = false;
    bool canGoForward = false;
    bool loading = false;
    int progress = 0; // percent of the page loaded, while loading
    QUrl address;     // the page being loaded, or the one shown
};
using NavigationListener = std::function<void(const NavigationState&)>;

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

    // The listener hears the whole state each time a part of it changes.
    virtual void setNavigationListener(NavigationListener listener) = 0;
};

} // namespace viewer
