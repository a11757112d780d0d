// The page of the browser pane, with its safety rules: only web addresses and the pane's own pages
// are loaded (an own page only when the program asks for it, or from another own page), local
// files cannot be read, pages cannot open windows by themselves, and a link that asks for a new
// window opens in the default browser. A link or form of an own page that goes to
// "augurlex:websearch" (own_pages.h) asks for a web search instead of loading anything.
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

signals:
    // Every navigation the page was asked for, and whether the rules let it through.
    void navigationAsked(const QUrl& url, bool accepted);
    // An own page asked for a web search for text.
    void webSearchAsked(const QString& text);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) override;
    QWebEnginePage* createWindow(WebWindowType type) override;

private:
    std::function<void(const QUrl&)> openExternally_;
};

} // namespace viewer
