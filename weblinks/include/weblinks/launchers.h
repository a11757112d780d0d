// The launchers of the maker's pages: each opens one fixed page in the default browser, or says
// that this build has no address for it (ui/maker_addresses.h).
#pragma once

class QWidget;

namespace weblinks {

void openHomePage(QWidget* parent = nullptr);
void openSoftwareSitePage(QWidget* parent = nullptr);
void openDownloadPage(QWidget* parent = nullptr);
void openDonatePage(QWidget* parent = nullptr);
void openFullBrandPage(QWidget* parent = nullptr);
void openCoBrandPage(QWidget* parent = nullptr);

} // namespace weblinks
