#include "viewer/web_engine_browser.h"

#include "ui/web_search.h"
#include "viewer/pane_page.h"

#include <QAction>
#include <QBuffer>
#include <QQuickWidget>
#include <QWebEngineLoadingInfo>
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
    // The view draws its page on a widget of the kind that needs the window's surface to be an
    // OpenGL one, but makes that widget only for its first page. Added to a window already on
    // screen, such a widget makes Qt destroy the window and make it anew (a flicker, a new
    // native window). A hidden widget of the same kind, there before the window is first shown,
    // has the window made with the right surface from the start.
    auto* surfaceKind = new QQuickWidget(view_);
    surfaceKind->setObjectName(QStringLiteral("surfaceKind"));
    surfaceKind->hide();
    profile_ = new QWebEngineProfile(); // no storage name: off the record
    profile_->installUrlSchemeHandler(kOwnPageScheme,
                                      new OwnPageHandler(std::move(ownPages), profile_));
    page_ = new PanePage(profile_, std::move(openExternally), view_);
    // The page must go before its profile: as the page's child, the profile is deleted after it.
    profile_->setParent(page_);
    view_->setPage(page_);
    QObject::connect(page_, &PanePage::webSearchAsked, view_,
                     [](const QString& text) { ui::openWebSearch(text); });
    QObject::connect(page_, &QWebEnginePage::loadingChanged, &context_,
                     [this](const QWebEngineLoadingInfo& loading) {
                         state_.loading =
                             loading.status() == QWebEngineLoadingInfo::LoadStartedStatus;
                         state_.progress = 0;
                         state_.address = loading.url();
                         tell();
                     });
    QObject::connect(page_, &QWebEnginePage::loadProgress, &context_, [this](int percent) {
        state_.progress = percent;
        if (state_.loading)
            tell();
    });
    // The page's own actions know when history can be walked.
    for (QWebEnginePage::WebAction walk : {QWebEnginePage::Back, QWebEnginePage::Forward})
        QObject::connect(page_->action(walk), &QAction::changed, &context_, [this] {
            state_.canGoBack = page_->action(QWebEnginePage::Back)->isEnabled();
            state_.canGoForward = page_->action(QWebEnginePage::Forward)->isEnabled();
            tell();
        });
}

void WebEngineBrowser::setNavigationListener(NavigationListener listener) {
    listener_ = std::move(listener);
    tell();
}

void WebEngineBrowser::tell() {
    if (listener_)
        listener_(state_);
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
