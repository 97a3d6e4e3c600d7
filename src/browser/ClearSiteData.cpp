#include "browser/ClearSiteData.h"

#include "platform/Services.h"
#include "platform/Ui.h"
#include "platform/WebEngineProfile.h"

#include <QAction>
#include <QKeySequence>
#include <QWidget>

void addClearSiteDataAction(QWidget *window)
{
    const QString title = QStringLiteral("Cancella cookie e dati dei siti");
    auto *action = new QAction(title, window);
    action->setObjectName(QStringLiteral("ClearSiteData"));
    action->setShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Delete));
    action->setShortcutContext(Qt::WindowShortcut);
    QObject::connect(action, &QAction::triggered, window, [title] {
        const int answer = platform::ui().MsgBox(
            QStringLiteral("Cancello i cookie, la cache e i dati salvati dai siti?") + QStringLiteral("\r\n")
                + QStringLiteral("I siti non ricorderanno più gli accessi fatti."),
            platform::vbYesNo, title);
        if (answer == platform::vbYes)
            platform::clearSiteData();
    });
    window->addAction(action);
}
