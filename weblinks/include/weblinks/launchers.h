// The launchers of the maker's pages: each opens one fixed page in the default browser, or says
// that this build has no address for it (ui/maker_addresses.h).
#pragma once

class QWidget;

namespace weblinks {

void OpenHomePage(QWidget* parent = nullptr);
void OpenSoftwareSitePage(QWidget* parent = nullptr);
void OpenDownloadPage(QWidget* parent = nullptr);
void OpenDonatePage(QWidget* parent = nullptr);
void OpenFullBrandPage(QWidget* parent = nullptr);
void OpenCoBrandPage(QWidget* parent = nullptr);

} // namespace weblinks
