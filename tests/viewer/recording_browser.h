// A browser that records what the pane asks of it.
#pragma once

#include "viewer/browser.h"

#include <QStringList>

class RecordingBrowser : public viewer::Browser {
public:
    QStringList asked;
    bool visible = true;

    QWidget* widget() override { return nullptr; }
    void setVisible(bool shown) override { visible = shown; }
    void navigate(const QUrl& address) override { asked << "go " + address.toString(); }
    void goBack() override { asked << "back"; }
    void goForward() override { asked << "forward"; }
    void stop() override { asked << "stop"; }
    void refresh() override { asked << "refresh"; }
    void setNavigationListener(viewer::NavigationListener listener) override {
        listener_ = std::move(listener);
    }
    // What the real browser reports as it loads.
    void report(const viewer::NavigationState& state) const { listener_(state); }

private:
    viewer::NavigationListener listener_;
};
