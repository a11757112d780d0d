#include "weblinks/help_menu.h"

#include "weblinks/about_window.h"
#include "weblinks/link_label.h"
#include "weblinks/web_page.h"

#include <QAbstractButton>
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>

namespace augurlex {
namespace {

QAction* addEntry(QMenu& menu, const char* name, const char* caption, void (*launcher)()) {
    QAction* action = menu.addAction(caption);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, action, [launcher] { launcher(); });
    return action;
}

QAction* addSeparator(QMenu& menu, const char* name) {
    QAction* separator = menu.addSeparator();
    separator->setObjectName(name);
    return separator;
}

void wireLabel(QWidget& window, const char* name, void (*launcher)(), LinkPointer pointer) {
    if (auto* label = window.findChild<QLabel*>(name))
        MakeLabelClickable(*label, launcher, pointer);
}

} // namespace

HelpMenuEntries FillHelpMenu(QMenu& mnuHelp, QWidget* aboutOwner) {
    HelpMenuEntries entries;
    entries.mnuOnline = addEntry(mnuHelp, "mnuOnline", "&Online Help", modHelp::OpenOnlineHelp);
    entries.mnuVisit = addEntry(mnuHelp, "mnuVisit", "&Visit Us Online", modHelp::OpenHomePage);
    entries.mnuHelpSep1 = addSeparator(mnuHelp, "mnuHelpSep1");
    entries.mnuUpdateSoftware = addEntry(mnuHelp, "mnuUpdateSoftware", "Check for Software &Update",
                                         modHelp::OpenDownloadPage);
    entries.mnuHelpSep2 = addSeparator(mnuHelp, "mnuHelpSep2");
    entries.mnuAbout = mnuHelp.addAction("&About Software");
    entries.mnuAbout->setObjectName("mnuAbout");
    QPointer<QWidget> owner = aboutOwner;
    QObject::connect(entries.mnuAbout, &QAction::triggered, entries.mnuAbout,
                     [owner] { ShowAbout(owner); });
    return entries;
}

QMenu* AddHelpAndDonateMenus(QMenuBar& bar, QWidget* aboutOwner) {
    QMenu* help = bar.addMenu("&Help");
    help->setObjectName("mnuHelp");
    help->menuAction()->setObjectName("mnuHelp");
    FillHelpMenu(*help, aboutOwner);

    QAction* donate = bar.addAction("&Donate");
    donate->setObjectName("mnuDonate");
    QObject::connect(donate, &QAction::triggered, donate, [] { modHelp::OpenDonatePage(); });
    return help;
}

void WireMainWindowLinks(QWidget& mainWindow) {
    if (auto* donate = mainWindow.findChild<QAbstractButton*>("cmdDonate"))
        QObject::connect(donate, &QAbstractButton::clicked, donate,
                         [] { modHelp::OpenDonatePage(); });
    wireLabel(mainWindow, "lblPicTop2", modHelp::OpenHomePage, LinkPointer::Hand);
    wireLabel(mainWindow, "lblFullBrand", modHelp::OpenFullBrandPage, LinkPointer::Hand);
    wireLabel(mainWindow, "lblCoBrand", modHelp::OpenCoBrandPage, LinkPointer::Hand);
    wireLabel(mainWindow, "Label61", modHelp::OpenHomePage, LinkPointer::Hand);
    wireLabel(mainWindow, "Label4", modHelp::OpenHomePage, LinkPointer::Arrow);
}

} // namespace augurlex
