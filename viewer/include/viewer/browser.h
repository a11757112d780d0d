// What the browser pane asks of its browser. The window uses the real one; tests put in one that
// records what was asked.
#pragma once

#include <QString>
#include <QUrl>
#include <functional>

class QWidget;

namespace viewer {

class Browser {
public:
    virtual ~Browser() = default;

    // The browser's widget, for the window's layout; nullptr for a stand-in.
    virtual QWidget* Widget() = 0;
    virtual void SetVisible(bool visible) = 0;

    // Only web addresses (see pane_address.h) and the pane's own pages (own_pages.h) reach this.
    virtual void Navigate(const QUrl& address) = 0;
    // Each does nothing when it cannot act (no history, nothing loading).
    virtual void GoBack() = 0;
    virtual void GoForward() = 0;
    virtual void Stop() = 0;
    virtual void Refresh() = 0;

    // Whether a document has been loaded that a script can write into.
    virtual bool HasDocument() const = 0;
    // Runs script in the current document; done hears whether it ran and returned true.
    virtual void RunJavaScript(const QString& script, std::function<void(bool)> done) = 0;
};

} // namespace viewer
