#include "viewer/web_engine_browser.h"

#include "ui/web_search.h"
#include "viewer/pane_page.h"

#include <QBuffer>
#include <QWebEngineProfile>
#include <QWebEngineUrlRequestJob>
#include <QWebEngineUrlSchemeHandler>
#include <QWebEngineView>

namespace viewer {
namespace {

// The scheme must be known before the application object is made; every program and test that
// uses this browser links this file, so a static initialiser is the one place that runs early
// enough for all of them.
const bool kSchemeRegistered = [] {
    registerOwnPageScheme();
    return true;
}();

class OwnPageHandler : public QWebEngineUrlSchemeHandler {
public:
    OwnPageHandler(OwnPageSource pages, QObject* parent)
        : QWebEngineUrlSchemeHandler(parent), pages_(std::move(pages)) {}

    void requestStarted(QWebEngineUrlRequestJob* job) override {
        const std::optional<QString> html = pages_ ? pages_(job->requestUrl()) : std::nullopt;
        if (!html) {
            job->fail(QWebEngineUrlRequestJob::UrlNotFound);
            return;
        }
        auto* body = new QBuffer(job);
        body->setData(html->toUtf8());
        body->open(QIODevice::ReadOnly);
        job->reply("text/html;charset=utf-8", body);
    }

private:
    OwnPageSource pages_;
};

} // namespace

WebEngineBrowser::WebEngineBrowser(QWidget* parent, std::function<void(const QUrl&)> openExternally,
                                   OwnPageSource ownPages) {
    view_ = new QWebEngineView(parent);
    view_->setObjectName(QStringLiteral("WB"));
    profile_ = new QWebEngineProfile(); // no storage name: off the record
    profile_->installUrlSchemeHandler(kOwnPageScheme,
                                      new OwnPageHandler(std::move(ownPages), profile_));
    page_ = new PanePage(profile_, std::move(openExternally), view_);
    // The page must go before its profile: as the page's child, the profile is deleted after it.
    profile_->setParent(page_);
    view_->setPage(page_);
    QObject::connect(page_, &PanePage::webSearchAsked, view_,
                     [](const QString& text) { ui::openWebSearch(text); });
}

QWidget* WebEngineBrowser::widget() {
    return view_;
}

void WebEngineBrowser::setVisible(bool visible) {
    view_->setVisible(visible);
}

void WebEngineBrowser::navigate(const QUrl& address) {
    page_->load(address);
}

void WebEngineBrowser::goBack() {
    page_->triggerAction(QWebEnginePage::Back);
}
void WebEngineBrowser::goForward() {
    page_->triggerAction(QWebEnginePage::Forward);
}
void WebEngineBrowser::stop() {
    page_->triggerAction(QWebEnginePage::Stop);
}
void WebEngineBrowser::refresh() {
    page_->triggerAction(QWebEnginePage::Reload);
}

} // namespace viewer
