// A browser that records what the pane asks of it.
#pragma once

#include "viewer/browser.h"

#include <QStringList>

class RecordingBrowser : public viewer::Browser {
public:
    QStringList asked;
    bool visible = true;
    bool hasDocument = false;
    QString lastScript;

    QWidget* Widget() override { return nullptr; }
    void SetVisible(bool shown) override { visible = shown; }
    void Navigate(const QUrl& address) override { asked << "go " + address.toString(); }
    void GoBack() override { asked << "back"; }
    void GoForward() override { asked << "forward"; }
    void Stop() override { asked << "stop"; }
    void Refresh() override { asked << "refresh"; }
    bool HasDocument() const override { return hasDocument; }
    void RunJavaScript(const QString& script, std::function<void(bool)> done) override {
        asked << "script";
        lastScript = script;
        done(true);
    }
};
