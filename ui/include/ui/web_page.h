// Opening web pages in the user's default browser.
#pragma once

#include <QString>
#include <functional>

namespace ui {

// Hands the address to the desktop's default browser and returns at once. The outcome is not
// examined: without a browser or network nothing visible happens.
void openWebPage(const QString& address);

// Replaces the browser hand-off for tests; an empty opener restores it.
using WebPageOpener = std::function<void(const QString& address)>;
void setWebPageOpenerForTesting(WebPageOpener opener);

} // namespace ui
