#include "viewer/browser_pane.h"

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
        pane, [](const QUrl& url) { ui::OpenWebPage(QString::fromUtf8(url.toEncoded())); },
        [pane](const QString& name) { return pane->OwnPage(name); });
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
    if (QWidget* view = browser_->Widget()) {
        layout->addWidget(view, 1);
        setFocusProxy(view);
    }
    offlineNotice_ = new QLabel(QString::fromLatin1(kOfflineCaption), this);
    offlineNotice_->setObjectName(QStringLiteral("lblCaption"));
    offlineNotice_->setContentsMargins(16, 0, 0, 0);
    offlineNotice_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(offlineNotice_, browser_->Widget() ? 0 : 1);
    offlineNotice_->hide();
}

BrowserPane::~BrowserPane() = default;

void BrowserPane::SetDictionarySummaries(std::function<QList<DictionarySummary>()> summaries) {
    summaries_ = std::move(summaries);
}

QUrl BrowserPane::HomeAddress() {
    if (const std::optional<QString> site = ui::MakerAddress(ui::MakerPage::Home))
        return QUrl(*site);
    return OwnPageAddress(QString::fromLatin1(kStartPageName));
}

std::optional<QString> BrowserPane::OwnPage(const QString& name) const {
    const PageColours colours = ColoursOf(QApplication::palette());
    if (name == QLatin1String(kStartPageName))
        return StartPageHtml(summaries_ ? summaries_() : QList<DictionarySummary>{}, colours);
    if (name == QLatin1String(kSearchPageName))
        return SearchFormPage();
    return HelpPageHtml(name, colours);
}

void BrowserPane::ShowOwnPage(const QString& name) {
    browser_->SetVisible(true);
    offlineNotice_->hide();
    browser_->Navigate(OwnPageAddress(name));
    show();
    raise();
}

void BrowserPane::Load(bool online, const QString& pendingAddress) {
    if (!online) {
        showOfflineNotice();
        return;
    }
    browser_->SetVisible(true);
    offlineNotice_->hide();
    if (pendingAddress.isEmpty())
        browser_->Navigate(HomeAddress());
    else if (pendingAddress == QLatin1String(kSearchRootURL))
        searchTheWeb(searchText_ ? searchText_().trimmed() : QString());
    else
        Navigate(pendingAddress);
}

void BrowserPane::showOfflineNotice() {
    browser_->SetVisible(false);
    offlineNotice_->show();
    // The notice takes the whole pane.
    if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
        box->setStretchFactor(offlineNotice_, 1);
}

void BrowserPane::searchTheWeb(const QString& query) {
    // A browser without a document cannot take the form; the query is then only navigated to.
    if (!browser_->HasDocument()) {
        Navigate(query);
        return;
    }
    QPointer<BrowserPane> self(this);
    browser_->RunJavaScript(FormSearchScript(SearchFormPage(), query), [self, query](bool) {
        if (self)
            self->Navigate(query);
    });
}

void BrowserPane::ShowPage(const QString& address) {
    Navigate(address);
    show();
    raise();
}

void BrowserPane::Navigate(const QString& text) {
    if (std::optional<QUrl> address = PaneAddress(text))
        browser_->Navigate(*address);
}

void BrowserPane::OnToolbarButton(const QString& key) {
    if (key == QLatin1String("Back"))
        browser_->GoBack();
    else if (key == QLatin1String("Forward"))
        browser_->GoForward();
    else if (key == QLatin1String("Refresh"))
        browser_->Refresh();
    else if (key == QLatin1String("Home"))
        browser_->Navigate(HomeAddress());
    else if (key == QLatin1String("Search"))
        browser_->Navigate(OwnPageAddress(QString::fromLatin1(kSearchPageName)));
    else if (key == QLatin1String("Stop"))
        browser_->Stop();
}

} // namespace viewer
