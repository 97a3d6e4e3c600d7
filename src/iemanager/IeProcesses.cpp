#include "iemanager/IeProcesses.h"

#include "app/Module1.h"
#include "app/forms.h"
#include "iemanager/Test_URL.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Ui.h"

#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

namespace {

QString lastOutcome;

// Names are compared as the system's fixed-size record would hold them.
QString untilNul(const QString &name)
{
    const qsizetype nul = name.indexOf(QChar(0));
    return nul < 0 ? name : name.left(nul);
}

// Closes an opened process whatever way the caller leaves.
class OpenedProcess {
public:
    OpenedProcess(platform::Processes &p, platform::Processes::Handle h) : p_(p), h_(h) {}
    ~OpenedProcess() { p_.close(h_); }
    OpenedProcess(const OpenedProcess &) = delete;
    OpenedProcess &operator=(const OpenedProcess &) = delete;

private:
    platform::Processes &p_;
    platform::Processes::Handle h_;
};

QString decide(const QString &id)
{
    const QString text = id.trimmed();
    if (text.isEmpty())
        return {};
    bool ok = false;
    const qulonglong number = text.toULongLong(&ok, 16);
    if (!ok || number > 0xFFFFFFFFull)
        return QString::fromLatin1(kOutcomeNoProcess);
    const auto pid = quint32(number);

    platform::Processes &processes = platform::processes();
    const auto handle = processes.open(pid);
    if (!handle)
        return QString::fromLatin1(kOutcomeNoProcess);
    const OpenedProcess guard(processes, *handle);
    const auto code = processes.exitCode(*handle);
    if (!code)
        return QString::fromLatin1(kOutcomeNotAllowed);

    // The list may be older than this call (a yield can run a relisting, and a
    // number can be reused by another program): only a process that is an
    // Internet Explorer process right now is ended.
    const auto snapshot = processes.snapshot();
    if (!snapshot)
        return QString::fromLatin1(kOutcomeNotAllowed);
    const auto it = std::find_if(snapshot->begin(), snapshot->end(),
                                 [pid](const platform::ProcessEntry &e) { return e.pid == pid; });
    if (it == snapshot->end())
        return QString::fromLatin1(kOutcomeNoProcess);
    if (!IsIeExecutable(untilNul(it->exeName)))
        return QString::fromLatin1(kOutcomeNotAllowed);

    if (processes.terminate(*handle, *code))
        return QString::fromLatin1(kOutcomeTerminated);
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
