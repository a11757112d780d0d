#include "weblinks/help_menu.h"

#include "ui/maker_addresses.h"
#include "weblinks/about_dialog.h"
#include "weblinks/launchers.h"

#include <QAction>
#include <QPointer>

namespace weblinks {
namespace {

QAction* addEntry(QMenu& menu, const char* name, const char* caption) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void addNamedSeparator(QMenu& menu, const char* name) {
    menu.addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

HelpMenu::HelpMenu(QWidget* aboutOwner) : QMenu(tr("&Help"), aboutOwner) {
    setObjectName(QStringLiteral("mnuHelp"));
    QPointer<QWidget> owner = aboutOwner;
    connect(addEntry(*this, "mnuOnline", "&Online Help"), &QAction::triggered, this,
            &HelpMenu::onlineHelpChosen);
    QAction* visit = addEntry(*this, "mnuVisit", "&Visit Us Online");
    connect(visit, &QAction::triggered, this, [owner] { openHomePage(owner); });
    addNamedSeparator(*this, "mnuHelpSep1");
    QAction* download = addEntry(*this, "mnuUpdateSoftware", "Check for Software &Update");
    connect(download, &QAction::triggered, this, [owner] { openDownloadPage(owner); });
    // Entries without an address in this build are left out (the separators then merge).
    visit->setVisible(ui::hasMakerPage(ui::MakerPage::Home));
    download->setVisible(ui::hasMakerPage(ui::MakerPage::Download));
    addNamedSeparator(*this, "mnuHelpSep2");
    connect(addEntry(*this, "mnuAbout", "&About Software"), &QAction::triggered, this,
            [owner] { showAboutDialog(owner); });
}

} // namespace weblinks
