#include "ui/maker_addresses.h"

#include "ui/message_box.h"
#include "ui/web_page.h"

#include <QUrl>
#include <QWidget>

namespace ui {
namespace {

std::optional<MakerSites>& testSites() {
    static std::optional<MakerSites> sites;
    return sites;
}

QString withoutTrailingSlash(QString site) {
    site = site.trimmed();
    while (site.endsWith('/'))
        site.chop(1);
    return site;
}

} // namespace

std::optional<QString> makerPageAddress(MakerPage page, const MakerSites& sites) {
    const QString maker = withoutTrailingSlash(sites.maker);
    const QString product = withoutTrailingSlash(sites.product);
    const auto under = [](const QString& site, const char* path) -> std::optional<QString> {
        if (site.isEmpty())
            return std::nullopt;
        return site + QLatin1String(path);
    };
    switch (page) {
    case MakerPage::Home:
        return under(maker, "");
    case MakerPage::SoftwareSite:
        return under(maker, "/vaticsoftwares");
    case MakerPage::Donate:
        return under(maker, "/donate.html");
    case MakerPage::FullBrand:
        return under(maker, "/fully-branded.html");
    case MakerPage::CoBrand:
        return under(maker, "/co-brand.html");
    case MakerPage::ReferralService:
        return under(maker, "/refer-a-friend.php");
    case MakerPage::Download:
        return under(product, "/download.html");
    case MakerPage::ProductSite:
        return under(product, "/");
    }
    return std::nullopt;
}

MakerSites builtInMakerSites() {
    if (testSites())
        return *testSites();
    // Set by the build from its cache variables; empty unless a distributor named the sites.
    return {QStringLiteral(AUGURLEX_MAKER_SITE), QStringLiteral(AUGURLEX_PRODUCT_SITE)};
}

void setMakerSitesForTesting(std::optional<MakerSites> sites) {
    testSites() = std::move(sites);
}

std::optional<QString> makerAddress(MakerPage page) {
    return makerPageAddress(page, builtInMakerSites());
}

bool hasMakerPage(MakerPage page) {
    return makerAddress(page).has_value();
}

void disableWithoutAddress(QWidget& control, MakerPage page) {
    if (hasMakerPage(page))
        return;
    control.setEnabled(false);
    control.setToolTip(QString::fromLatin1(kNoMakerAddressTip));
}

QString makerSiteHost() {
    const std::optional<QString> home = makerAddress(MakerPage::Home);
    return home ? QUrl(*home).host() : QString();
}

void openMakerPage(MakerPage page, QWidget* parent) {
    if (const std::optional<QString> address = makerAddress(page)) {
        openWebPage(*address);
        return;
    }
    showMessage({QString::fromLatin1(kNoMakerAddressMessage)}, parent);
}

} // namespace ui
