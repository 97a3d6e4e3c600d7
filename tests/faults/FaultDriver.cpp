#include "FaultDriver.h"

#include <QFile>

#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

FaultDriver::FaultDriver(const QStringList &args, const Options &options)
{
    std::vector<QByteArray> store{options.program.isEmpty() ? QByteArray(LANTERNA_FAULT_DRIVER)
                                                            : QFile::encodeName(options.program)};
    for (const QString &a : args)
        store.push_back(QFile::encodeName(a));
    std::vector<char *> argv;
    for (QByteArray &s : store)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int fds[2];
    int ins[2];
    if (::pipe2(fds, O_CLOEXEC) != 0 || ::pipe2(ins, O_CLOEXEC) != 0)
        return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(fds[1], STDOUT_FILENO);
        ::dup2(ins[0], STDIN_FILENO);
        if (options.ignoreSizeSignal)
            ::signal(SIGXFSZ, SIG_IGN);
        const rlimit lim{options.fileSizeLimit, options.fileSizeLimit};
        if (options.fileSizeLimit != RLIM_INFINITY && ::setrlimit(RLIMIT_FSIZE, &lim) != 0)
            ::_exit(3);
        if (options.user && (::setgid(*options.user) != 0 || ::setuid(*options.user) != 0))
            ::_exit(3);
        ::execv(argv[0], argv.data());
        ::_exit(4);
    }
    ::close(fds[1]);
    ::close(ins[0]);
    out_ = fds[0];
    in_ = ins[1];
}

FaultDriver::~FaultDriver()
{
    if (pid_ > 0 && !ended_) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
    }
    if (out_ >= 0)
        ::close(out_);
    if (in_ >= 0)
        ::close(in_);
}

pid_t FaultDriver::startChild(std::chrono::milliseconds deadline)
{
    lines_.clear();
    if (in_ < 0 || ::write(in_, "go\n", 3) != 3)
        return 0;
    const auto end = std::chrono::steady_clock::now() + deadline;
    for (;;) {
        for (const QString &l : lines_)
            if (l.startsWith(QLatin1String("child ")))
                return pid_t(l.mid(6).toLong());
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readSome(int(left.count())))
            return 0;
    }
}

bool FaultDriver::readSome(int timeoutMs)
{
    if (out_ < 0)
        return false;
    pollfd p{out_, POLLIN, 0};
    if (::poll(&p, 1, timeoutMs) <= 0)
        return true; // nothing yet
    char buf[4096];
    const ssize_t n = ::read(out_, buf, sizeof buf);
    if (n <= 0) {
        ::close(out_);
        out_ = -1;
        return false;
    }
    pending_.append(buf, n);
    qsizetype nl;
    while ((nl = pending_.indexOf('\n')) >= 0) {
        lines_ << QString::fromUtf8(pending_.left(nl));
        pending_.remove(0, nl + 1);
    }
    return true;
}

bool FaultDriver::waitForLine(const QString &line, std::chrono::milliseconds deadline)
{
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (!lines_.contains(line)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0 || !readSome(int(left.count())))
            return lines_.contains(line);
    }
    return true;
}

int FaultDriver::finish(std::chrono::milliseconds deadline)
{
    if (in_ >= 0) {
        ::close(in_); // a forking driver ends when its input does
        in_ = -1;
    }
    const auto end = std::chrono::steady_clock::now() + deadline;
    while (out_ >= 0) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            ::kill(pid_, SIGKILL);
            break;
        }
        readSome(int(left.count()));
    }
    while (out_ >= 0 && readSome(100)) {
    }
    int status = 0;
    ::waitpid(pid_, &status, 0);
    ended_ = true;
    return status;
}

void FaultDriver::kill9()
{
    ::kill(pid_, SIGKILL);
}

long FaultDriver::lastDone() const
{
    long last = 0;
    for (const QString &l : lines_)
        if (l.startsWith(QLatin1String("done ")))
            last = l.mid(5).toLong();
    return last;
}

QStringList FaultDriver::messages() const
{
    QStringList out;
    for (const QString &l : lines_)
        if (l.startsWith(QLatin1String("msg ")))
            out << l.mid(4);
    return out;
}
