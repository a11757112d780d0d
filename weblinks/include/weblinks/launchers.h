// The launchers of the maker's pages: each opens one fixed page in the default browser.
#pragma once

namespace weblinks {

void OpenHomePage();
void OpenSoftwareSitePage();
void OpenOnlineHelp();
void OpenDownloadPage();
void OpenDonatePage();
void OpenFullBrandPage();
void OpenCoBrandPage();

} // namespace weblinks
