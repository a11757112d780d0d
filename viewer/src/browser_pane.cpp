#include "viewer/browser_pane.h"

#include "load_status_line.h"
#include "ui/maker_addresses.h"
#include "ui/program_title.h"
#include "ui/web_page.h"
#include "viewer/own_pages.h"
#include "viewer/pane_address.h"
#include "viewer/search_form_page.h"
#include "viewer/search_service.h"
#include "viewer/web_engine_browser.h"

#include <QApplication>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace viewer {

namespace {

std::unique_ptr<Browser> realBrowser(BrowserPane* pane) {
    return std::make_unique<WebEngineBrowser>(
        pane, [](const QUrl& url) { ui::openWebPage(QString::fromUtf8(url.toEncoded())); },
        [pane](const QString& name) { return pane->ownPage(name); });
}

} // namespace

BrowserPane::BrowserPane(std::function<QString()> searchText, std::unique_ptr<Browser> browser,
                         QWidget* parent)
    : QWidget(parent), searchText_(std::move(searchText)),
      browser_(browser ? std::move(browser) : realBrowser(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QString::fromLatin1(ui::kTitleWithVersion));
    setFont(QFont(QStringLiteral("Verdana")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    // The pane is a stop of the window's tab order, and hands the focus on to its page.
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleName(tr("Definition"));
    if (QWidget* view = browser_->widget()) {
        layout->addWidget(view, 1);
        setFocusProxy(view);
    }
    offlineNotice_ = new QLabel(QString::fromLatin1(kOfflineCaption), this);
    offlineNotice_->setObjectName(QStringLiteral("lblCaption"));
    offlineNotice_->setContentsMargins(16, 0, 0, 0);
    offlineNotice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(offlineNotice_, browser_->widget() ? 0 : 1);
    offlineNotice_->hide();

    auto* status = new LoadStatusLine(this);
    browser_->setNavigationListener([this, status](const NavigationState& state) {
        status->showState(state);
        emit navigationStateChanged(state);
    });
}

BrowserPane::~BrowserPane() = default;

void BrowserPane::setDictionarySummaries(std::function<QList<DictionarySummary>()> summaries) {
    summaries_ = std::move(summaries);
}

QUrl BrowserPane::homeAddress() {
    if (const std::optional<QString> site = ui::makerAddress(ui::MakerPage::Home))
        return QUrl(*site);
    return ownPageAddress(QString::fromLatin1(kStartPageName));
}

std::optional<QString> BrowserPane::ownPage(const QString& name) const {
    const PageColours colours = coloursOf(QApplication::palette());
    if (name == QLatin1String(kStartPageName))
        return startPageHtml(summaries_ ? summaries_() : QList<DictionarySummary>{}, colours);
    if (name == QLatin1String(kSearchPageName))
        return searchFormPage();
    return helpPageHtml(name, colours);
}

void BrowserPane::showOwnPage(const QString& name) {
    browser_->setVisible(true);
    offlineNotice_->hide();
    browser_->navigate(ownPageAddress(name));
    show();
    raise();
}

void BrowserPane::load(bool online, const QString& pendingAddress) {
    if (!online) {
        showOfflineNotice();
        return;
    }
    browser_->setVisible(true);
    offlineNotice_->hide();
    if (pendingAddress.isEmpty())
        browser_->navigate(homeAddress());
    else if (pendingAddress == QLatin1String(kSearchRootURL))
        searchTheWeb(searchText_ ? searchText_().trimmed() : QString());
    else
        navigate(pendingAddress);
}

void BrowserPane::showOfflineNotice() {
    browser_->setVisible(false);
    offlineNotice_->show();
    // The notice takes the whole pane.
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->setStretchFactor(offlineNotice_, 1);
}

void BrowserPane::searchTheWeb(const QString& query) {
    // A browser without a document cannot take the form; the query is then only navigated to.
    if (!browser_->hasDocument()) {
        navigate(query);
        return;
    }
    QPointer<BrowserPane> self(this);
    browser_->runJavaScript(formSearchScript(searchFormPage(), query), [self, query](bool) {
        if (self)
            self->navigate(query);
    });
}

void BrowserPane::showPage(const QString& address) {
    navigate(address);
    show();
    raise();
}

void BrowserPane::navigate(const QString& text) {
    if (std::optional<QUrl> address = paneAddress(text))
        browser_->navigate(*address);
}

void BrowserPane::onToolbarButton(const QString& key) {
    if (key == QLatin1String("Back"))
        browser_->goBack();
    else if (key == QLatin1String("Forward"))
        browser_->goForward();
    else if (key == QLatin1String("Refresh"))
        browser_->refresh();
    else if (key == QLatin1String("Home"))
        browser_->navigate(homeAddress());
    else if (key == QLatin1String("Search"))
        browser_->navigate(ownPageAddress(QString::fromLatin1(kSearchPageName)));
    else if (key == QLatin1String("Stop"))
        browser_->stop();
}

} // namespace viewer
