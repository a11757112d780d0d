#include "viewer/web_engine_browser.h"

#include "viewer/pane_page.h"

#include <QVariant>
#include <QWebEngineProfile>
#include <QWebEngineView>

namespace viewer {

WebEngineBrowser::WebEngineBrowser(QWidget* parent,
                                   std::function<void(const QUrl&)> openExternally) {
    view_ = new QWebEngineView(parent);
    view_->setObjectName(QStringLiteral("WB"));
    profile_ = new QWebEngineProfile(); // no storage name: off the record
    page_ = new PanePage(profile_, std::move(openExternally), view_);
    // The page must go before its profile: as the page's child, the profile is deleted after it.
    profile_->setParent(page_);
    view_->setPage(page_);
    QObject::connect(page_, &QWebEnginePage::loadFinished, view_,
                     [this](bool) { hasDocument_ = true; });
}

QWidget* WebEngineBrowser::Widget() {
    return view_;
}

void WebEngineBrowser::SetVisible(bool visible) {
    view_->setVisible(visible);
}

void WebEngineBrowser::Navigate(const QUrl& address) {
    page_->load(address);
}

void WebEngineBrowser::ShowOwnPage(const QString& html) {
    page_->AllowOwnPageOnce();
    page_->setHtml(html);
}

void WebEngineBrowser::GoBack() {
    page_->triggerAction(QWebEnginePage::Back);
}
void WebEngineBrowser::GoForward() {
    page_->triggerAction(QWebEnginePage::Forward);
}
void WebEngineBrowser::Stop() {
    page_->triggerAction(QWebEnginePage::Stop);
}
void WebEngineBrowser::Refresh() {
    page_->triggerAction(QWebEnginePage::Reload);
}

bool WebEngineBrowser::HasDocument() const {
    return hasDocument_;
}

void WebEngineBrowser::RunJavaScript(const QString& script, std::function<void(bool)> done) {
    page_->runJavaScript(script, [done = std::move(done)](const QVariant& result) {
        if (done)
            done(result.toBool());
    });
}

} // namespace viewer
