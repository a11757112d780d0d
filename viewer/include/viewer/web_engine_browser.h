// The real browser of the pane: a QWebEngineView showing a PanePage in a private, in-memory
// profile (nothing of the pages is kept on disk), which serves the pane's own pages.
#pragma once

#include "viewer/browser.h"
#include "viewer/own_pages.h"

#include <QPointer>

class QWebEngineView;
class QWebEngineProfile;

namespace viewer {

class PanePage;

class WebEngineBrowser : public Browser {
public:
    // openExternally receives links meant for a new window; ownPages gives the own pages.
    WebEngineBrowser(QWidget* parent, std::function<void(const QUrl&)> openExternally,
                     OwnPageSource ownPages = {});

    QWebEngineView* View() const { return view_; }
    PanePage* Page() const { return page_; }

    QWidget* Widget() override;
    void SetVisible(bool visible) override;
    void Navigate(const QUrl& address) override;
    void GoBack() override;
    void GoForward() override;
    void Stop() override;
    void Refresh() override;
    bool HasDocument() const override;
    void RunJavaScript(const QString& script, std::function<void(bool)> done) override;

private:
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    PanePage* page_ = nullptr;
    bool hasDocument_ = false;
};

} // namespace viewer
