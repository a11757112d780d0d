#include "weblinks/help_menu.h"

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
    connect(addEntry(*this, "mnuVisit", "&Visit Us Online"), &QAction::triggered, this,
            [owner] { openHomePage(owner); });
    addNamedSeparator(*this, "mnuHelpSep1");
    connect(addEntry(*this, "mnuUpdateSoftware", "Check for Software &Update"), &QAction::triggered,
            this, [owner] { openDownloadPage(owner); });
    addNamedSeparator(*this, "mnuHelpSep2");
    connect(addEntry(*this, "mnuAbout", "&About Software"), &QAction::triggered, this,
            [owner] { showAboutDialog(owner); });
}

} // namespace weblinks
