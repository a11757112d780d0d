#include "weblinks/launchers.h"

#include "ui/maker_addresses.h"

namespace weblinks {

void openHomePage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::Home, parent);
}
void openSoftwareSitePage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::SoftwareSite, parent);
}
void openDownloadPage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::Download, parent);
}
void openDonatePage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::Donate, parent);
}
void openFullBrandPage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::FullBrand, parent);
}
void openCoBrandPage(QWidget* parent) {
    ui::openMakerPage(ui::MakerPage::CoBrand, parent);
}

} // namespace weblinks
