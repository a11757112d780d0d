#include "viewer/frm_main.h"

#include "program_values.h"
#include "viewer/pane_address.h"
#include "viewer/search_form_page.h"
#include "viewer/web_engine_browser.h"
#include "weblinks/endpoints.h"
#include "weblinks/web_page.h"

#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace viewer {

namespace {

std::unique_ptr<Browser> realBrowser(QWidget* parent) {
    return std::make_unique<WebEngineBrowser>(
        parent, [](const QUrl& url) { augurlex::OpenWebPage(QString::fromUtf8(url.toEncoded())); });
}

} // namespace

frmMain::frmMain(std::function<QString()> searchText, std::unique_ptr<Browser> browser,
                 QWidget* parent)
    : QWidget(parent), Text1(SearchFormPage()), searchText_(std::move(searchText)),
      browser_(browser ? std::move(browser) : realBrowser(this)) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(QStringLiteral("Augurlex v1.95"));
    setFont(QFont(QStringLiteral("Verdana")));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (QWidget* view = browser_->Widget())
        layout->addWidget(view, 1);
    lblCaption_ = new QLabel(QString::fromLatin1(kOfflineCaption), this);
    lblCaption_->setObjectName(QStringLiteral("lblCaption"));
    lblCaption_->setContentsMargins(16, 0, 0, 0);
    lblCaption_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(lblCaption_, browser_->Widget() ? 0 : 1);
    lblCaption_->hide();
}

frmMain::~frmMain() = default;

void frmMain::Load() {
    std::string& pending = augurlex::strURL();
    if (augurlex::Connected() != 1) {
        browser_->SetVisible(false);
        lblCaption_->show();
        // The notice takes the whole pane.
        if (auto* box = qobject_cast<QVBoxLayout*>(layout()))
            box->setStretchFactor(lblCaption_, 1);
        return;
    }
    browser_->SetVisible(true);
    lblCaption_->hide();
    if (pending.empty()) {
        pending = augurlex::HomeURL;
        Navigate(QString::fromStdString(pending));
    } else if (pending == augurlex::SearchRootURL) {
        searchTheWeb(searchText_ ? searchText_().trimmed() : QString());
    } else {
        Navigate(QString::fromStdString(pending));
    }
    pending.clear();
}

void frmMain::searchTheWeb(const QString& query) {
    // A browser without a document cannot take the form; the query is then only navigated to.
    if (!browser_->HasDocument()) {
        Navigate(query);
        return;
    }
    QPointer<frmMain> self(this);
    browser_->RunJavaScript(FormSearchScript(Text1, query), [self, query](bool) {
        if (self)
            self->Navigate(query);
    });
}

void frmMain::ShowPage() {
    Navigate(QString::fromStdString(augurlex::strURL()));
    show();
    raise();
}

void frmMain::Navigate(const QString& text) {
    if (std::optional<QUrl> address = PaneAddress(text))
        browser_->Navigate(*address);
}

void frmMain::OnToolbarButton(const QString& key) {
    if (key == QLatin1String("Back"))
        browser_->GoBack();
    else if (key == QLatin1String("Forward"))
        browser_->GoForward();
    else if (key == QLatin1String("Refresh"))
        browser_->Refresh();
    else if (key == QLatin1String("Home"))
        Navigate(QString::fromLatin1(augurlex::HomeURL));
    else if (key == QLatin1String("Search"))
        browser_->ShowOwnPage(Text1);
    else if (key == QLatin1String("Stop"))
        browser_->Stop();
}

} // namespace viewer
