#include "viewer/browser_pane.h"

#include "load_status_line.h"
#include "ui/maker_addresses.h"
#include "ui/program_title.h"
#include "ui/web_page.h"
#include "ui/web_search.h"
#include "viewer/own_pages.h"
#include "viewer/pane_address.h"
#include "viewer/search_service.h"
#include "viewer/web_engine_browser.h"

#include <QApplication>
#include <QLabel>
#include <QVBoxLayout>

namespace viewer {

namespace {

std::unique_ptr<Browser> realBrowser(BrowserPane* pane) {
    return std::make_unique<WebEngineBrowser>(
        pane, [](const QUrl& url) { ui::openWebPage(QString::fromUtf8(url.toEncoded())); },
        [pane](const QUrl& address) { return pane->ownPage(address); });
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

void BrowserPane::setTermLookup(std::function<QString()> scope, TermLookup lookUp) {
    termScope_ = std::move(scope);
    termLookup_ = std::move(lookUp);
}

std::optional<QString> BrowserPane::ownPage(const QString& name) const {
    return ownPage(ownPageAddress(name));
}

std::optional<QString> BrowserPane::ownPage(const QUrl& address) const {
    const PageColours colours = coloursOf(QApplication::palette());
    const QString name = ownPageName(address);
    if (name == QLatin1String(kStartPageName))
        return startPageHtml(summaries_ ? summaries_() : QList<DictionarySummary>{}, colours);
    if (name == QLatin1String(kSearchPageName)) {
        const QUrl engine(ui::webSearchTemplate().remove(QStringLiteral("%s")));
        return searchPageHtml(engine.host(), ui::makerSiteHost(), colours);
    }
    if (name == QLatin1String(kTermPageName)) {
        const QString term = ownPageQueryItem(address, QStringLiteral("q"));
        const QString scope = ownPageQueryItem(address, QStringLiteral("in"));
        TermPage page = termLookup_ ? termLookup_(term, scope) : TermPage{};
        page.term = term;
        page.scope = scope;
        return termPageHtml(page, colours);
    }
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
    else if (pendingAddress == QLatin1String(kSearchRootURL)) {
        const QString query = searchText_ ? searchText_().trimmed() : QString();
        ui::openWebSearch(query);
        navigate(query);
    } else
        navigate(pendingAddress);
}

void BrowserPane::showOfflineNotice() {
    browser_->setVisible(false);
    offlineNotice_->show();
    // The notice takes the whole pane.
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->setStretchFactor(offlineNotice_, 1);
}

void BrowserPane::showPage(const QString& address) {
    navigate(address);
    show();
    raise();
}

void BrowserPane::navigate(const QString& text) {
    if (std::optional<QUrl> address = paneAddress(text)) {
        browser_->navigate(*address);
        return;
    }
    const QString term = text.trimmed();
    if (term.isEmpty() || hasScheme(term))
        return;
    const QString scope = termScope_ ? termScope_().trimmed() : QStringLiteral("All");
    browser_->navigate(
        ownPageAddress(QString::fromLatin1(kTermPageName), {{"q", term}, {"in", scope}}));
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
