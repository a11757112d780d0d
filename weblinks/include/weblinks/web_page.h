// Opening web pages in the user's default browser, and the launchers of the maker's pages.
#pragma once

#include <QString>
#include <functional>

namespace augurlex {

// Hands the address to the desktop's default browser and returns at once. The outcome is not
// examined: without a browser or network nothing visible happens.
void OpenWebPage(const QString& address);

// Replaces the browser hand-off for tests; an empty opener restores it.
using WebPageOpener = std::function<void(const QString& address)>;
void SetWebPageOpenerForTesting(WebPageOpener opener);

// Each launcher opens one fixed page of the maker.
namespace modHelp {
void OpenHomePage();
void OpenSoftwareSitePage();
void OpenOnlineHelp();
void OpenDownloadPage();
void OpenDonatePage();
void OpenFullBrandPage();
void OpenCoBrandPage();
} // namespace modHelp

} // namespace augurlex
