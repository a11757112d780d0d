// The page of the browser pane, with its safety rules: only web addresses and the program's own
// form page are loaded, local files cannot be read, pages cannot open windows by themselves, and
// a link that asks for a new window opens in the default browser.
#pragma once

#include <QWebEnginePage>
#include <functional>

namespace viewer {

class PanePage : public QWebEnginePage {
    Q_OBJECT
public:
    // openExternally receives the web address of a link meant for a new window.
    PanePage(QWebEngineProfile* profile, std::function<void(const QUrl&)> openExternally,
             QObject* parent = nullptr);

    // Lets the next load of inline HTML through: the program's own page.
    void AllowOwnPageOnce() { ownPagePending_ = true; }

signals:
    // Every navigation the page was asked for, and whether the rules let it through.
    void navigationAsked(const QUrl& url, bool accepted);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    std::function<void(const QUrl&)> openExternally_;
    bool ownPagePending_ = false;
};

} // namespace viewer
