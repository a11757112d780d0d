#include "weblinks/web_page.h"

#include "weblinks/endpoints.h"

#include <QDesktopServices>
#include <QUrl>

namespace augurlex {
namespace {

WebPageOpener& testOpener() {
    static WebPageOpener opener;
    return opener;
}

} // namespace

void SetWebPageOpenerForTesting(WebPageOpener opener) {
    testOpener() = std::move(opener);
}

void OpenWebPage(const QString& address) {
    if (testOpener()) {
        testOpener()(address);
        return;
    }
    // Addresses arrive fully encoded; strict parsing keeps every escape as it is.
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}

namespace modHelp {
void OpenHomePage() {
    OpenWebPage(HomeURL);
}
void OpenSoftwareSitePage() {
    OpenWebPage(kSoftwareSitePageURL);
}
void OpenOnlineHelp() {
    OpenWebPage(kOnlineHelpPageURL);
}
void OpenDownloadPage() {
    OpenWebPage(kDownloadPageURL);
}
void OpenDonatePage() {
    OpenWebPage(kDonatePageURL);
}
void OpenFullBrandPage() {
    OpenWebPage(kFullBrandPageURL);
}
void OpenCoBrandPage() {
    OpenWebPage(kCoBrandPageURL);
}
} // namespace modHelp

} // namespace augurlex
