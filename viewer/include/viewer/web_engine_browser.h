// The real browser of the pane: a QWebEngineView showing a PanePage in a private, in-memory
// profile (nothing of the pages is kept on disk), which serves the pane's own pages. A web search
// that an own page asks for opens in the default browser (ui/web_search.h).
#pragma once

#include "viewer/browser.h"
#include "viewer/own_pages.h"

#include <QObject>
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

    QWebEngineView* view() const { return view_; }
    PanePage* page() const { return page_; }

    QWidget* widget() override;
    void setVisible(bool visible) override;
    void navigate(const QUrl& address) override;
    void goBack() override;
    void goForward() override;
    void stop() override;
    void refresh() override;
    void setNavigationListener(NavigationListener listener) override;

private:
    void tell();

    // The context of every connection that reaches this object, so that none outlives it.
    QObject context_;
    NavigationListener listener_;
    NavigationState state_;
    QWebEngineProfile* profile_ = nullptr;
    QWebEngineView* view_ = nullptr;
    PanePage* page_ = nullptr;
};

} // namespace viewer
