#include "viewer/pane_page.h"

#include "viewer/own_pages.h"
#include "viewer/pane_address.h"

#include <QWebEngineSettings>

namespace viewer {

namespace {

// Stands in for a window a link asked for: its first address goes to the default browser, then
// it goes away without ever loading anything.
class NewWindowCatcher : public QWebEnginePage {
public:
    NewWindowCatcher(QWebEngineProfile* profile, std::function<void(const QUrl&)> open,
                     QObject* parent)
        : QWebEnginePage(profile, parent), open_(std::move(open)) {}

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType, bool) override {
        if (!handed_ && isWebAddress(url) && open_)
            open_(url);
        handed_ = true;
        deleteLater();
        return false;
    }

private:
    std::function<void(const QUrl&)> open_;
    bool handed_ = false;
};

} // namespace

PanePage::PanePage(QWebEngineProfile* profile, std::function<void(const QUrl&)> openExternally,
                   QObject* parent)
    : QWebEnginePage(profile, parent), openExternally_(std::move(openExternally)) {
    QWebEngineSettings* rules = settings();
    rules->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    rules->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    rules->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    rules->setAttribute(QWebEngineSettings::AllowWindowActivationFromJavaScript, false);
    rules->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    rules->setAttribute(QWebEngineSettings::PluginsEnabled, false);
}

bool PanePage::acceptNavigationRequest(const QUrl& url, NavigationType type, bool isMainFrame) {
    if (ownPageName(url) == QLatin1String(kWebSearchName)) {
        if (isMainFrame && isOwnPageAddress(this->url()))
            emit webSearchAsked(ownPageQueryItem(url, QStringLiteral("q")));
        emit navigationAsked(url, false);
        return false;
    }
    bool accepted = isWebAddress(url);
    if (!accepted && isMainFrame && isOwnPageAddress(url)) {
        // The program's own loads (typed), history and reloads, and links between own pages.
        accepted = type == NavigationTypeTyped || type == NavigationTypeBackForward ||
                   type == NavigationTypeReload || isOwnPageAddress(this->url());
    }
    emit navigationAsked(url, accepted);
    return accepted;
}

QWebEnginePage* PanePage::createWindow(WebWindowType) {
    return new NewWindowCatcher(profile(), openExternally_, this);
}

} // namespace viewer
