#include "FakeUi.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>
#include <QTest>
#include <tuple>

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

bool FakeUi::askLogin(const QString &site, const QString &realm, QString *user, QString *password)
{
    loginsShown << site + QLatin1Char('|') + realm;
    if (logins.empty())
        return false;
    std::tie(*user, *password) = logins.front();
    logins.pop_front();
    return true;
}

bool FakeUi::inputBox(const QString &prompt, const QString &title, QString *value)
{
    messages.push_back({prompt, title, -1});
    if (inputs.empty())
        return false;
    *value = inputs.front();
    inputs.pop_front();
    return true;
}
