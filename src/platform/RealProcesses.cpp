#include "platform/RealProcesses.h"

#include "platform/PathSpace.h"

#include <QFile>
#include <QFileInfo>

#ifdef _WIN32

#include "platform/Win32Processes.h"

namespace platform {

namespace {
// One table for the program: it holds no state of its own.
win32::ProcessTable table;
} // namespace

RealProcesses::~RealProcesses() = default;

std::optional<std::vector<ProcessEntry>> RealProcesses::snapshot()
{
    const auto records = table.snapshot();
    if (!records)
        return std::nullopt;
    std::vector<ProcessEntry> out;
    out.reserve(records->size());
    for (const auto &r : *records)
        out.push_back({quint32(r.pid), QString::fromStdWString(r.exeName)});
    return out;
}

std::optional<Processes::Handle> RealProcesses::open(quint32 pid) { return table.open(pid); }

std::optional<quint32> RealProcesses::exitCode(Handle h) { return table.exitCode(h); }

bool RealProcesses::terminate(Handle h, quint32 exitCode) { return table.terminate(h, exitCode); }

void RealProcesses::close(Handle h) { table.close(h); }

std::optional<StartError> RealProcesses::start(const QString &program, const QStringList &arguments)
{
    std::vector<std::wstring> args;
    for (const QString &a : arguments)
        args.push_back(a.toStdWString());
    const auto failure = win32::startProgram(toNativePath(program).toStdWString(), args);
    if (!failure)
        return std::nullopt;
    return StartError{failure->number, QString::fromStdWString(failure->description)};
}

bool startedMaximized()
{
    static const bool maximized = win32::startedMaximized();
    return maximized;
}

} // namespace platform

#else // POSIX

#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>

namespace platform {

namespace {

StartError errorOf(int number) { return StartError{number, QString::fromLocal8Bit(std::strerror(number))}; }

// Reads a /proc file (they report no size), stopping after `limit` bytes or, when
// `untilNul`, at the first NUL.
QByteArray readProcFile(const QByteArray &path, qsizetype limit, bool untilNul)
{
    QByteArray out;
    const int fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return out;
    char buf[4096];
    while (out.size() < limit) {
        const ssize_t n = ::read(fd, buf, sizeof(buf));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        out.append(buf, n);
        if (untilNul && out.contains('\0'))
            break;
    }
    ::close(fd);
    if (untilNul) {
        const qsizetype nul = out.indexOf('\0');
        if (nul >= 0)
            out.truncate(nul);
    }
    return out.left(limit);
}

QByteArray procPath(int pid, const char *leaf) { return "/proc/" + QByteArray::number(pid) + '/' + leaf; }

struct ProcStat {
    char state = 0; // 0 when the process is gone
    QByteArray name;
    bool kernelThread = false;
};

// /proc/<pid>/stat: the name (as /proc/<pid>/comm gives it), the state letter, and
// whether it is a kernel thread, which has no command line.
ProcStat readProcStat(int pid)
{
    ProcStat out;
    const QByteArray stat = readProcFile(procPath(pid, "stat"), 4096, false);
    // The command name in brackets may hold blanks and brackets itself: the state
    // follows the last closing bracket.
    const qsizetype open = stat.indexOf('(');
    const qsizetype close = stat.lastIndexOf(')');
    if (open < 0 || close < open || close + 2 >= stat.size())
        return out;
    out.state = stat.at(close + 2);
    out.name = stat.mid(open + 1, close - open - 1);
    // Fields from the state on: state ppid pgrp session tty_nr tpgid flags.
    const QList<QByteArray> fields = stat.mid(close + 2, 128).split(' ');
    constexpr quint64 kKernelThreadFlag = 0x00200000; // PF_KTHREAD
    out.kernelThread = fields.size() > 6 && (fields.at(6).toULongLong() & kKernelThreadFlag);
    return out;
}

char processState(int pid) { return readProcStat(pid).state; }

bool hasEnded(char state) { return state == 0 || state == 'Z' || state == 'X' || state == 'x'; }

// A number naming a process: kill() and friends read 0 and negative numbers as groups.
bool validPid(quint32 pid) { return pid > 0 && pid <= quint32(INT_MAX); }

int pidfdOpen(int pid)
{
#ifdef SYS_pidfd_open
    return int(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    errno = ENOSYS;
    return -1;
#endif
}

int pidfdSignal(int pidfd, int sig)
{
#ifdef SYS_pidfd_send_signal
    return int(::syscall(SYS_pidfd_send_signal, pidfd, sig, nullptr, 0));
#else
    (void)pidfd;
    (void)sig;
    errno = ENOSYS;
    return -1;
#endif
}

} // namespace

RealProcesses::~RealProcesses()
{
    for (const auto &[h, o] : opened_)
        if (o.pidfd >= 0)
            ::close(o.pidfd);
}

std::optional<std::vector<ProcessEntry>> RealProcesses::snapshot()
{
    DIR *dir = ::opendir("/proc");
    if (!dir)
        return std::nullopt;
    std::vector<ProcessEntry> out;
    while (const dirent *e = ::readdir(dir)) {
        const char *name = e->d_name;
        if (!*name)
            continue;
        quint64 pid = 0;
        bool numeric = true;
        for (const char *c = name; *c; ++c) {
            if (*c < '0' || *c > '9' || pid > quint64(INT_MAX)) {
                numeric = false;
                break;
            }
            pid = pid * 10 + quint64(*c - '0');
        }
        if (!numeric || pid > quint64(INT_MAX) || !validPid(quint32(pid)))
            continue;
        // One file for most processes: the stat file names kernel threads (most of the
        // table, and without a command line) and gives their name and state; only the
        // others have their command line read. A tick runs on every page, so each file
        // counts (three files for each kernel thread cost a chain of pages about 1 ms a page).
        const ProcStat stat = readProcStat(int(pid));
        if (stat.state == 0)
            continue; // gone while we looked
        QByteArray exe;
        if (!stat.kernelThread)
            exe = readProcFile(procPath(int(pid), "cmdline"), 64 * 1024, true);
        // An ended process has given its memory back, and its command line with it.
        if (exe.isEmpty()) {
            if (hasEnded(stat.state))
                continue;
            exe = stat.name;
        }
        if (exe.isEmpty())
            continue; // gone while we looked
        out.push_back({quint32(pid), QFile::decodeName(exe)});
    }
    ::closedir(dir);
    return out;
}

std::optional<Processes::Handle> RealProcesses::open(quint32 pid)
{
    if (!validPid(pid))
        return std::nullopt;
    Opened o;
    o.pid = int(pid);
    o.pidfd = pidfdOpen(o.pid);
    if (o.pidfd < 0) {
        if (errno == ESRCH || errno == EINVAL)
            return std::nullopt;
        // No process descriptors on this kernel: fall back to the number.
        if (::kill(o.pid, 0) != 0 && errno == ESRCH)
            return std::nullopt;
    } else {
        ::fcntl(o.pidfd, F_SETFD, FD_CLOEXEC);
    }
    const Handle h = nextHandle_++;
    opened_[h] = o;
    return h;
}

std::optional<quint32> RealProcesses::exitCode(Handle h)
{
    const auto it = opened_.find(h);
    if (it == opened_.end())
        return std::nullopt;
    const Opened &o = it->second;
    const int r = o.pidfd >= 0 ? pidfdSignal(o.pidfd, 0) : ::kill(o.pid, 0);
    if (r != 0) {
        if (errno == ESRCH)
            return 0; // it has ended; its own code is its parent's to read
        return std::nullopt;
    }
    if (hasEnded(processState(o.pid)))
        return 0;
    return kStillActive;
}

bool RealProcesses::terminate(Handle h, quint32)
{
    const auto it = opened_.find(h);
    if (it == opened_.end())
        return false;
    const Opened &o = it->second;
    const int r = o.pidfd >= 0 ? pidfdSignal(o.pidfd, SIGKILL) : ::kill(o.pid, SIGKILL);
    return r == 0;
}

void RealProcesses::close(Handle h)
{
    const auto it = opened_.find(h);
    if (it == opened_.end())
        return;
    if (it->second.pidfd >= 0)
        ::close(it->second.pidfd);
    opened_.erase(it);
}

std::optional<StartError> RealProcesses::start(const QString &program, const QStringList &arguments)
{
    const QString native = toNativePath(program);
    if (native.isEmpty())
        return errorOf(ENOENT);
    const QByteArray path = QFile::encodeName(native);

    // Checked here so that the caller hears of a missing or unusable program at once.
    struct stat st {};
    if (::stat(path.constData(), &st) != 0)
        return errorOf(errno);
    if (S_ISDIR(st.st_mode))
        return errorOf(EACCES);
    if (::access(path.constData(), X_OK) != 0)
        return errorOf(errno);

    // Everything the children need is built before forking: after fork only
    // async-signal-safe calls are allowed.
    std::vector<QByteArray> args;
    args.reserve(size_t(arguments.size()) + 1);
    args.push_back(path);
    for (const QString &a : arguments)
        args.push_back(a.toLocal8Bit());
    std::vector<char *> argv;
    for (QByteArray &a : args)
        argv.push_back(a.data());
    argv.push_back(nullptr);

    // The window style travels in the environment, as the show state does on Windows.
    static char maximized[] = "LANTERNA_WINDOW=maximized";
    std::vector<char *> envp;
    for (char **e = environ; e && *e; ++e)
        if (std::strncmp(*e, "LANTERNA_WINDOW=", 16) != 0)
            envp.push_back(*e);
    envp.push_back(maximized);
    envp.push_back(nullptr);

    // The grandchild reports a failed exec through this pipe; a successful exec
    // closes it, so an empty read means the program runs.
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return errorOf(errno);

    const pid_t child = ::fork();
    if (child < 0) {
        const int e = errno;
        ::close(fds[0]);
        ::close(fds[1]);
        return errorOf(e);
    }
    if (child == 0) {
        // Double fork: the program is adopted by the system and never becomes our zombie.
        ::close(fds[0]);
        const pid_t grandchild = ::fork();
        if (grandchild != 0) {
            if (grandchild < 0) {
                const int e = errno;
                (void)!::write(fds[1], &e, sizeof(e));
            }
            ::_exit(0);
        }
        ::setsid();
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        struct sigaction dfl {};
        dfl.sa_handler = SIG_DFL;
        ::sigaction(SIGPIPE, &dfl, nullptr);
        ::execve(argv[0], argv.data(), envp.data());
        const int e = errno;
        (void)!::write(fds[1], &e, sizeof(e));
        ::_exit(127);
    }

    ::close(fds[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    int execError = 0;
    ssize_t n;
    do {
        n = ::read(fds[0], &execError, sizeof(execError));
    } while (n < 0 && errno == EINTR);
    ::close(fds[0]);
    if (n == ssize_t(sizeof(execError)))
        return errorOf(execError);
    return std::nullopt;
}

bool startedMaximized()
{
    static const bool maximized = [] {
        const char *v = std::getenv("LANTERNA_WINDOW");
        const bool yes = v && std::strcmp(v, "maximized") == 0;
        ::unsetenv("LANTERNA_WINDOW");
        return yes;
    }();
    return maximized;
}

} // namespace platform

#endif
