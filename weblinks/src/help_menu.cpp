#include "weblinks/help_menu.h"

#include "weblinks/about_dialog.h"
#include "weblinks/launchers.h"

#include <QAction>
#include <QPointer>

namespace weblinks {
namespace {

void addEntry(QMenu& menu, const char* name, const char* caption, void (*launcher)()) {
    QAction* action = menu.addAction(QString::fromLatin1(caption));
    action->setObjectName(QString::fromLatin1(name));
    QObject::connect(action, &QAction::triggered, action, [launcher] { launcher(); });
}

void addNamedSeparator(QMenu& menu, const char* name) {
    menu.addSeparator()->setObjectName(QString::fromLatin1(name));
}

} // namespace

HelpMenu::HelpMenu(QWidget* aboutOwner) : QMenu(tr("&Help"), aboutOwner) {
    setObjectName(QStringLiteral("mnuHelp"));
    addEntry(*this, "mnuOnline", "&Online Help", OpenOnlineHelp);
    addEntry(*this, "mnuVisit", "&Visit Us Online", OpenHomePage);
    addNamedSeparator(*this, "mnuHelpSep1");
    addEntry(*this, "mnuUpdateSoftware", "Check for Software &Update", OpenDownloadPage);
    addNamedSeparator(*this, "mnuHelpSep2");
    QAction* about = addAction(tr("&About Software"));
    about->setObjectName(QStringLiteral("mnuAbout"));
    QPointer<QWidget> owner = aboutOwner;
    connect(about, &QAction::triggered, this, [owner] { ShowAboutDialog(owner); });
}

} // namespace weblinks
