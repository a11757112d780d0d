#include "weblinks/launchers.h"

#include "ui/web_addresses.h"
#include "ui/web_page.h"

namespace weblinks {

void OpenHomePage() {
    ui::OpenWebPage(ui::kHomePageURL);
}
void OpenSoftwareSitePage() {
    ui::OpenWebPage(ui::kSoftwareSitePageURL);
}
void OpenOnlineHelp() {
    ui::OpenWebPage(ui::kOnlineHelpPageURL);
}
void OpenDownloadPage() {
    ui::OpenWebPage(ui::kDownloadPageURL);
}
void OpenDonatePage() {
    ui::OpenWebPage(ui::kDonatePageURL);
}
void OpenFullBrandPage() {
    ui::OpenWebPage(ui::kFullBrandPageURL);
}
void OpenCoBrandPage() {
    ui::OpenWebPage(ui::kCoBrandPageURL);
}

} // namespace weblinks
