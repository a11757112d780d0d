#include "ui/web_page.h"

#include <QDesktopServices>
#include <QUrl>

namespace ui {
namespace {

WebPageOpener& testOpener() {
    static WebPageOpener opener;
    return opener;
}

} // namespace

void setWebPageOpenerForTesting(WebPageOpener opener) {
    testOpener() = std::move(opener);
}

void openWebPage(const QString& address) {
    if (testOpener()) {
        testOpener()(address);
        return;
    }
    // Addresses arrive fully encoded; strict parsing keeps every escape as it is.
    QDesktopServices::openUrl(QUrl(address, QUrl::StrictMode));
}

} // namespace ui
