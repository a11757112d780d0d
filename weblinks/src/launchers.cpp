#include "weblinks/launchers.h"

#include "ui/maker_addresses.h"

namespace weblinks {

void OpenHomePage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::Home, parent);
}
void OpenSoftwareSitePage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::SoftwareSite, parent);
}
void OpenDownloadPage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::Download, parent);
}
void OpenDonatePage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::Donate, parent);
}
void OpenFullBrandPage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::FullBrand, parent);
}
void OpenCoBrandPage(QWidget* parent) {
    ui::OpenMakerPage(ui::MakerPage::CoBrand, parent);
}

} // namespace weblinks
