#include "FakeUi.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTest>

void FakeUi::doEvents()
{
    ++doEventsCalls;
    if (processEventsOnDoEvents)
        QCoreApplication::processEvents();
}

QString FakeUi::openFileDialog(const QString &start, const QString &title, const QString &filter)
{
    fileDialogs.push_back({start, title, filter});
    if (fileChoices.empty())
        return start;
    QString c = fileChoices.front();
    fileChoices.pop_front();
    return c;
}

void FakeUi::popupMenu(QMenu *menu)
{
    menusShown << menu->title();
    if (menuChoices.empty())
        return;
    const QString choice = menuChoices.front();
    menuChoices.pop_front();
    for (QAction *a : menu->actions())
        if (a->text() == choice) {
            a->trigger();
            return;
        }
}

int FakeUi::showMessage(const QString &text, int flags, const QString &title)
{
    messages.push_back({text, title, flags});
    if (modalUntil) {
        QCoreApplication::processEvents();
        modalEnded = QTest::qWaitFor(modalUntil, 30000) && modalEnded;
    }
    if (!answers.empty()) {
        int a = answers.front();
        answers.pop_front();
        return a;
    }
    return (flags & 0x7) == platform::vbYesNo ? platform::vbYes : platform::vbOK;
}
