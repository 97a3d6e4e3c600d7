// Runs the program's own file work over and over so that a test can kill it, starve
// it of disk or take its rights away at any moment:
//   lanterna_fault_driver page PAGE COUNT   InsertBlock on PAGE (Windows path), COUNT times
//   lanterna_fault_driver log ENTRIES COUNT  WriteVisitedLog, the list alternating between
//                                            the two lists of a file (UTF-8, one entry a
//                                            line, the lists parted by a line "--")
// COUNT 0 means until killed. Drives and the program's folder (C:\PROG) come from the
// usual LANTERNA_DRIVE_ variables. Prints "ready", then "done N" after each operation and
// "msg TEXT" for each message shown.
// With a fourth argument "fork", the operations run in a forked copy, one for each line
// read from stdin ("child PID" when it starts, "ended" when it is gone), so that a test
// can kill the work many times without paying for the start-up each time.
#include "FakeProcesses.h"
#include "FakeShell.h"
#include "FakeUi.h"
#include "FakeWebBrowser.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/PageRewrite.h"
#include "platform/RealFiles.h"
#include "platform/Services.h"

#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

namespace {

void say(const QString &line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

void reportMessages(FakeUi &ui)
{
    for (const auto &m : ui.messages)
        say(QStringLiteral("msg ") + m.text);
    ui.messages.clear();
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 4 && argc != 5)
        return 2;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    FakeUi ui;
    FakeShell shell;
    FakeProcesses processes;
    platform::RealFiles files(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
    platform::Services services{ui, files, processes, shell,
                                [](QWidget *parent) -> platform::WebBrowser * { return new FakeWebBrowser(parent); }};
    platform::install(services);

    const QString mode = QString::fromLocal8Bit(argv[1]);
    const long count = std::strtol(argv[3], nullptr, 10);
    const bool forked = argc == 5 && QByteArray(argv[4]) == "fork";
    frmBrowser *browser = forms::frmBrowser();
    browser->timTimer->stop();
    // The log read at load joins the list now, not in the middle of the writes.
    browser->joinVisitedLog();
    ui.messages.clear();

    const auto run = [&](const std::function<void(long)> &operation) {
        say(QStringLiteral("ready"));
        const auto loop = [&] {
            for (long i = 1; count == 0 || i <= count; ++i) {
                operation(i);
                reportMessages(ui);
                say(QStringLiteral("done %1").arg(i));
            }
        };
        if (!forked) {
            loop();
            return 0;
        }
        char line[64];
        while (std::fgets(line, sizeof line, stdin)) {
            const pid_t child = ::fork();
            if (child == 0) {
                loop();
                ::_exit(0);
            }
            say(QStringLiteral("child %1").arg(child));
            ::waitpid(child, nullptr, 0);
            say(QStringLiteral("ended"));
        }
        return 0;
    };

    if (mode == QLatin1String("page")) {
        browser->Tag = QString::fromLocal8Bit(argv[2]);
        return run([](long i) { InsertBlock(QStringLiteral("<H2><p>Scritta %1</p></H2>").arg(i), nullptr); });
    }
    if (mode == QLatin1String("log")) {
        QFile f(QString::fromLocal8Bit(argv[2]));
        if (!f.open(QIODevice::ReadOnly))
            return 2;
        const QStringList all = QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        const qsizetype cut = all.indexOf(QStringLiteral("--"));
        if (cut < 0)
            return 2;
        const QStringList lists[2] = {all.mid(0, cut), all.mid(cut + 1)};
        return run([&](long i) {
            // Odd runs write the second list, even runs the first one again.
            browser->cboAddress->clear();
            browser->cboAddress->addItems(lists[i % 2]);
            browser->WriteVisitedLog();
        });
    }
    return 2;
}
