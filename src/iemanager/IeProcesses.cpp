#include "iemanager/IeProcesses.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "iemanager/IeTermination.h"
#include "iemanager/Test_URL.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Ui.h"

#include <QListWidget>
#include <QSignalBlocker>

namespace {

QString lastOutcome;

// Names are compared as the system's fixed-size record would hold them.
QString untilNul(const QString &name)
{
    const qsizetype nul = name.indexOf(QChar(0));
    return nul < 0 ? name : name.left(nul);
}

QString decide(const QString &id)
{
    const QString text = id.trimmed();
    if (text.isEmpty())
        return {};
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok, 16);
    if (!ok || number > 0xFFFFFFFFull)
        return QString::fromLatin1(kOutcomeNoProcess);

    switch (terminateIfIe(platform::processes(), quint32(number),
                          [](const QString &name) { return IsIeExecutable(untilNul(name)); })) {
    case TerminateOutcome::NoProcess:
        return QString::fromLatin1(kOutcomeNoProcess);
    case TerminateOutcome::NotAllowed:
        return QString::fromLatin1(kOutcomeNotAllowed);
    case TerminateOutcome::Terminated:
        return QString::fromLatin1(kOutcomeTerminated);
    case TerminateOutcome::Failed:
        break;
    }
    return {};
}

} // namespace

bool IsIeExecutable(const QString &exeName)
{
    return exeName.toUpper().contains(QLatin1String("IEXPLORE.EXE"));
}

QString IeProcessId(quint32 pid) { return QString::number(pid, 16).toUpper(); }

void ListIeProcesses()
{
    QListWidget *list = forms::Test_URL()->List1;
    {
        // Rebuilding the list must not look like the user picking a line.
        const QSignalBlocker quiet(list);
        list->clear();
        Module1::IeProcessCount = 0;
        // Entries past the count are cleared too, so a loop still running on an older
        // count finds nothing there to end.
        for (QString &s : Module1::IeProcessIds)
            s.clear();

        if (const auto snapshot = platform::processes().snapshot()) {
            for (const platform::ProcessEntry &e : *snapshot) {
                const QString name = untilNul(e.exeName);
                if (!IsIeExecutable(name))
                    continue;
                if (Module1::IeProcessCount >= Module1::kMaxIeProcesses)
                    break; // the array is full: the rest are not listed
                ++Module1::IeProcessCount;
                const QString id = IeProcessId(e.pid);
                Module1::IeProcessIds[size_t(Module1::IeProcessCount)] = id;
                AddProcessItem(name, id);
            }
        }
    }
    platform::ui().doEvents();
}

QString TerminateIeProcess(const QString &id)
{
    lastOutcome = decide(id);
    return lastOutcome;
}

QString LastTerminateOutcome() { return lastOutcome; }

void AddProcessItem(const QString &name, const QString &id)
{
    QListWidget *list = forms::Test_URL()->List1;
    const QSignalBlocker quiet(list);
    list->insertItem(0, name + QLatin1Char(' ') + id);
}
