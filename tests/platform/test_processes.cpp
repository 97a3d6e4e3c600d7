#include "IeManagerHelpers.h"
#include "TestEnv.h"
#include "platform/RealProcesses.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>

#include <cerrno>
#include <cstring>
#include <map>

#include <dirent.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

using platform::RealProcesses;

namespace {

// Field `index` (1-based, as proc(5) counts) of /proc/<pid>/stat; -1 when unreadable.
long statField(pid_t pid, int index)
{
    QFile f(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!f.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray stat = f.readAll();
    const qsizetype close = stat.lastIndexOf(')');
    if (close < 0)
        return -1;
    const QList<QByteArray> rest = stat.mid(close + 2).split(' ');
    // rest[0] is field 3 (the state)
    if (index - 3 < 0 || index - 3 >= rest.size())
        return -1;
    return rest.at(index - 3).toLong();
}

std::vector<pid_t> childrenOf(pid_t parent)
{
    std::vector<pid_t> out;
    QDir proc(QStringLiteral("/proc"));
    for (const QString &name : proc.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        bool ok = false;
        const int pid = name.toInt(&ok);
        if (ok && statField(pid, 4) == parent)
            out.push_back(pid);
    }
    return out;
}

std::optional<platform::ProcessEntry> find(const std::vector<platform::ProcessEntry> &snap, quint32 pid)
{
    for (const auto &e : snap)
        if (e.pid == pid)
            return e;
    return std::nullopt;
}

int occurrences(const std::vector<platform::ProcessEntry> &snap, quint32 pid)
{
    return int(std::count_if(snap.begin(), snap.end(), [pid](const auto &e) { return e.pid == pid; }));
}

// Kills and reaps a process the test made its own child (directly or by adoption).
struct ReapGuard {
    pid_t pid = 0;
    ~ReapGuard()
    {
        if (pid <= 0)
            return;
        ::kill(pid, SIGKILL);
        int st = 0;
        (void)QTest::qWaitFor([&] { return ::waitpid(pid, &st, WNOHANG) != 0; }, 10000);
    }
};

} // namespace

TEST(RealProcesses, SnapshotNamesStartedCopiesAndTerminateEndsOnlyTheOneAsked)
{
    SleepCopies copies;
    ASSERT_TRUE(copies.valid());
    const quint32 lower = copies.start(QStringLiteral("iexplore.exe"));
    const quint32 upper = copies.start(QStringLiteral("IEXPLORE.EXE"));
    const quint32 other = copies.start(QStringLiteral("notepad.exe"));
    ASSERT_TRUE(lower && upper && other);

    // Kernel threads (children of kthreadd) rename themselves as they work: only those whose
    // name holds still around the snapshot can be compared with it.
    const auto comm = [](quint32 pid) {
        QFile f(QStringLiteral("/proc/%1/comm").arg(pid));
        return f.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(f.readAll().trimmed()) : QString();
    };
    std::map<quint32, QString> kernelBefore;
    for (pid_t pid : childrenOf(2))
        kernelBefore[quint32(pid)] = comm(quint32(pid));

    RealProcesses processes;
    auto snap = processes.snapshot();
    ASSERT_TRUE(snap.has_value());
    // Each once, named by the first word of its command line (the full path it was started by).
    for (quint32 pid : {lower, upper, other})
        EXPECT_EQ(occurrences(*snap, pid), 1) << pid;
    EXPECT_EQ(find(*snap, lower)->exeName, copies.copy(QStringLiteral("iexplore.exe")));
    EXPECT_EQ(find(*snap, upper)->exeName, copies.copy(QStringLiteral("IEXPLORE.EXE")));
    EXPECT_EQ(find(*snap, other)->exeName, copies.copy(QStringLiteral("notepad.exe")));
    // Kernel threads have no command line: their name is the one comm gives.
    for (const auto &e : *snap) {
        EXPECT_FALSE(e.exeName.isEmpty()) << e.pid;
        const auto before = kernelBefore.find(e.pid);
        QFile cmdline(QStringLiteral("/proc/%1/cmdline").arg(e.pid));
        if (before == kernelBefore.end() || before->second.isEmpty() || before->second != comm(e.pid)
            || !cmdline.open(QIODevice::ReadOnly) || !cmdline.read(1).isEmpty())
            continue;
        EXPECT_EQ(e.exeName, before->second) << e.pid;
    }
    ASSERT_TRUE(find(*snap, quint32(::getpid())).has_value());
    EXPECT_TRUE(find(*snap, quint32(::getpid()))->exeName.contains(QStringLiteral("test_platform")));

    const auto h = processes.open(upper);
    ASSERT_TRUE(h.has_value());
    EXPECT_EQ(processes.exitCode(*h), std::optional<quint32>(platform::Processes::kStillActive));
    EXPECT_TRUE(processes.terminate(*h, platform::Processes::kStillActive));
    processes.close(*h);
    EXPECT_TRUE(copies.waitGone(upper));
    EXPECT_TRUE(SleepCopies::running(lower));
    EXPECT_TRUE(SleepCopies::running(other));

    snap = processes.snapshot();
    ASSERT_TRUE(snap.has_value());
    EXPECT_EQ(occurrences(*snap, upper), 0);
    EXPECT_EQ(occurrences(*snap, lower), 1);
    EXPECT_FALSE(processes.open(upper).has_value());
    // A closed handle reaches nothing any more.
    EXPECT_FALSE(processes.exitCode(*h).has_value());
    EXPECT_FALSE(processes.terminate(*h, 0));
    EXPECT_TRUE(SleepCopies::running(lower));
}

TEST(RealProcesses, EndedProcessesAreNotListedAndNumbersOfNoProcessDoNotOpen)
{
    RealProcesses processes;
    // Numbers the signal calls would read as process groups, or as everyone.
    EXPECT_FALSE(processes.open(0).has_value());
    EXPECT_FALSE(processes.open(0x80000000u).has_value());
    EXPECT_FALSE(processes.open(0xFFFFFFFFu).has_value());

    // A child that has ended but not been reaped yet (a zombie).
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0)
        ::_exit(3);
    ReapGuard guard{child};
    siginfo_t info{};
    ASSERT_EQ(::waitid(P_PID, id_t(child), &info, WEXITED | WNOWAIT), 0);

    const auto snap = processes.snapshot();
    ASSERT_TRUE(snap.has_value());
    EXPECT_EQ(occurrences(*snap, quint32(child)), 0);
    if (const auto h = processes.open(quint32(child))) {
        const auto code = processes.exitCode(*h);
        ASSERT_TRUE(code.has_value());
        EXPECT_NE(*code, platform::Processes::kStillActive);
        processes.close(*h);
    }

    int st = 0;
    ASSERT_EQ(::waitpid(child, &st, 0), child);
    guard.pid = 0;
    EXPECT_FALSE(processes.open(quint32(child)).has_value());
}

TEST(RealProcesses, ExitCodeAndTerminateFailWithoutPermission)
{
    RealProcesses processes;
    if (::geteuid() != 0) {
        // Not root: any process of another user will do; the first process usually is one.
        if (statField(1, 3) < 0)
            GTEST_SKIP() << "no process of another user visible";
        QFile status(QStringLiteral("/proc/1/status"));
        ASSERT_TRUE(status.open(QIODevice::ReadOnly));
        if (!status.readAll().contains("Uid:\t0\t"))
            GTEST_SKIP() << "the first process is not another user's";
        const auto h = processes.open(1);
        ASSERT_TRUE(h.has_value());
        EXPECT_FALSE(processes.exitCode(*h).has_value());
        EXPECT_FALSE(processes.terminate(*h, 0));
        processes.close(*h);
        return;
    }

    // As root: a process of one user, looked at while acting as another.
    const QString sleepPath = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    ASSERT_FALSE(sleepPath.isEmpty());
    QProcess target;
    target.setProgram(sleepPath);
    target.setArguments({QStringLiteral("600")});
    target.setChildProcessModifier([] {
        if (::setgid(65533) != 0 || ::setuid(65533) != 0)
            ::_exit(126);
    });
    target.start();
    ASSERT_TRUE(target.waitForStarted(10000));
    const auto pid = quint32(target.processId());
    struct Kill {
        QProcess &p;
        pid_t pid;
        ~Kill()
        {
            ::kill(pid, SIGKILL);
            p.waitForFinished(10000);
        }
    } kill{target, pid_t(pid)};
    ASSERT_TRUE(QTest::qWaitFor([&] { return statField(pid_t(pid), 3) >= 0 && SleepCopies::running(pid); }, 10000));

    const auto h = processes.open(pid);
    ASSERT_TRUE(h.has_value()); // opening needs no permission, using the process does
    std::optional<quint32> code;
    bool ended = true;
    {
        struct BackToRoot {
            ~BackToRoot() { (void)!::seteuid(0); }
        } back;
        ASSERT_EQ(::seteuid(65534), 0);
        code = processes.exitCode(*h);
        ended = processes.terminate(*h, 0);
    }
    ASSERT_EQ(::geteuid(), 0u);
    EXPECT_FALSE(code.has_value());
    EXPECT_FALSE(ended);
    EXPECT_TRUE(SleepCopies::running(pid));
    EXPECT_EQ(processes.exitCode(*h), std::optional<quint32>(platform::Processes::kStillActive));
    processes.close(*h);
}

class ProcessStart : public LanternaTest {};

TEST_F(ProcessStart, RunsDetachedWithoutAShellEachArgumentWhole)
{
    // Adopt what the started programs leave behind, so the test can reap them.
    ASSERT_EQ(::prctl(PR_SET_CHILD_SUBREAPER, 1), 0);
    RealProcesses processes;

    writeFile(QStringLiteral("C:\\BIN\\args.sh"),
              "#!/bin/sh\n"
              "out=\"$1\"\n"
              "shift\n"
              "{ echo \"window=$LANTERNA_WINDOW\"; for a in \"$@\"; do printf '[%s]\\n' \"$a\"; done; } > \"$out.tmp\"\n"
              "mv \"$out.tmp\" \"$out\"\n");
    ASSERT_TRUE(QFile::setPermissions(native(QStringLiteral("C:\\BIN\\args.sh")),
                                      QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    const QString out = native(QStringLiteral("C:\\out.txt"));
    const QStringList args{out, QStringLiteral("http://host/a b?x=1&y=2"),
                           QStringLiteral("$(touch bad); `touch bad` | > bad \"q\" 'y' *"), QString()};
    // The started program is asked to open maximised, whatever this one was asked.
    qputenv("LANTERNA_WINDOW", "normal");
    EXPECT_FALSE(processes.start(QStringLiteral("C:\\BIN\\args.sh"), args).has_value());
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(out); }, 20000));
    int st = 0;
    EXPECT_TRUE(QTest::qWaitFor([&] { return ::waitpid(-1, &st, WNOHANG) > 0; }, 20000));
    EXPECT_EQ(readFile(QStringLiteral("C:\\out.txt")),
              QByteArray("window=maximized\n[http://host/a b?x=1&y=2]\n[$(touch bad); `touch bad` | > bad \"q\" 'y' *]\n[]\n"));
    EXPECT_FALSE(exists(QStringLiteral("C:\\bad")));
    EXPECT_FALSE(QFile::exists(QDir::current().filePath(QStringLiteral("bad"))));

    // A long-running program: start returns at once, and the program is nobody's
    // zombie-to-be but the system's (here: the test, adopting it as subreaper).
    const QString sleepPath = QStandardPaths::findExecutable(QStringLiteral("sleep"));
    const QString copy = native(QStringLiteral("C:\\BIN\\iexplore.exe"));
    ASSERT_TRUE(QFile::copy(sleepPath, copy));
    EXPECT_FALSE(processes.start(QStringLiteral("C:\\BIN\\iexplore.exe"), {QStringLiteral("600")}).has_value());

    const auto snap = processes.snapshot();
    ASSERT_TRUE(snap.has_value());
    pid_t started = 0;
    for (const auto &e : *snap)
        if (e.exeName == copy && statField(pid_t(e.pid), 4) == ::getpid())
            started = pid_t(e.pid);
    ASSERT_NE(started, 0);
    ReapGuard guard{started};
    // The go-between is gone: the program is the only child left.
    EXPECT_EQ(childrenOf(::getpid()), std::vector<pid_t>{started});
    EXPECT_EQ(statField(started, 6), long(started)); // a session of its own
}

TEST_F(ProcessStart, FailuresAreReportedAtOnceWithTheSystemsNumberAndText)
{
    RealProcesses processes;
    auto expectError = [&](const QString &program, int number) {
        const auto e = processes.start(program, {QStringLiteral("x")});
        ASSERT_TRUE(e.has_value()) << program.toStdString();
        EXPECT_EQ(e->number, number) << program.toStdString();
        EXPECT_EQ(e->description, QString::fromLocal8Bit(std::strerror(number)));
    };
    expectError(QStringLiteral("C:\\BIN\\missing.exe"), ENOENT);
    expectError(QStringLiteral("Q:\\nowhere\\prog.exe"), ENOENT); // a drive that is not there
    makeDir(QStringLiteral("C:\\BIN\\folder"));
    expectError(QStringLiteral("C:\\BIN\\folder"), EACCES);
    writeFile(QStringLiteral("C:\\BIN\\plain.txt"), "not a program\n");
    expectError(QStringLiteral("C:\\BIN\\plain.txt"), EACCES);
    // Executable bit but no known format: the exec itself fails, in the child.
    writeFile(QStringLiteral("C:\\BIN\\junk.exe"), QByteArray("\x01\x02junk", 6));
    QFile::setPermissions(native(QStringLiteral("C:\\BIN\\junk.exe")),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    expectError(QStringLiteral("C:\\BIN\\junk.exe"), ENOEXEC);
    EXPECT_TRUE(childrenOf(::getpid()).empty());
}

TEST(StartedMaximized, TheRequestIsTakenOutOfTheEnvironmentOnce)
{
    qputenv("LANTERNA_WINDOW", "maximized");
    EXPECT_TRUE(platform::startedMaximized());
    // Programs this one starts of its own accord do not inherit the request.
    EXPECT_FALSE(qEnvironmentVariableIsSet("LANTERNA_WINDOW"));
    EXPECT_TRUE(platform::startedMaximized());
}
