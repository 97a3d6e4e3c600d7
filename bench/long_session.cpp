// A long day with the real engine: navigations between local pages and pages of a
// local web server, the home page edited every 100, memory (PSS of the program and
// its engine processes) after each hundred. The memory must settle, not grow with
// the number of pages. Run by hand: ./bench/bench_long_session [navigations]
#include "EventWait.h"
#include "LocalHttpServer.h"
#include "QuietUi.h"
#include "platform/ProfileStore.h"
#include "FakeProcesses.h"
#include "base/Module1.h"
#include "app/Startup.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/PageRewrite.h"
#include "platform/RealFiles.h"
#include "platform/RealShell.h"
#include "platform/Services.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QWebEngineHistory>
#include <QWebEnginePage>

#include <algorithm>
#include <cstdio>
#include <unistd.h>

namespace {

struct Tree {
    long long pssKiB = 0;
    long long rootKiB = 0;    // the program's own process
    long long dirtyKiB = 0;   // written pages of its own: unlike PSS, not moved by other programs
    int processes = 0;
};

// Memory in KiB of a process and everything it started, from /proc. PSS shares each
// library page among all the processes that map it, other programs using the engine
// included, so it moves when they start or end; so do clean private pages (a library
// page is private while no other process maps it). The pages a process has written
// for itself do not, and they are where a leak shows. A child is listed under the
// thread that started it, and the engine starts its processes from threads of its
// own: every thread is asked.
void addTree(pid_t root, Tree &t)
{
    QFile rollup(QStringLiteral("/proc/%1/smaps_rollup").arg(root));
    if (!rollup.open(QIODevice::ReadOnly))
        return;
    long long pss = 0;
    for (const QByteArray &line : rollup.readAll().split('\n'))
        if (line.startsWith("Pss:"))
            pss += line.mid(4).trimmed().split(' ').value(0).toLongLong();
        else if (line.startsWith("Private_Dirty:"))
            t.dirtyKiB += line.mid(14).trimmed().split(' ').value(0).toLongLong();
    if (t.processes++ == 0)
        t.rootKiB = pss;
    t.pssKiB += pss;
    const QString tasks = QStringLiteral("/proc/%1/task").arg(root);
    for (const QString &task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile children(tasks + QLatin1Char('/') + task + QStringLiteral("/children"));
        if (children.open(QIODevice::ReadOnly))
            for (const QByteArray &c : children.readAll().split(' '))
                if (!c.trimmed().isEmpty())
                    addTree(pid_t(c.trimmed().toInt()), t);
    }
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    startup::prepareEngine();
    platform::usePrivateProfile(); // never the user's own stored profile
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::max(100, atoi(argv[1])) : 1000;

    QTemporaryDir root;
    const QString c = root.filePath(QStringLiteral("C"));
    QDir().mkpath(c + QStringLiteral("/HOME-PAG"));
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(c));
    for (int i = 0; i < 10; ++i) {
        QFile f(c + QStringLiteral("/HOME-PAG/P%1.HTM").arg(i));
        f.open(QIODevice::WriteOnly);
        f.write("<HTML><HEAD><TITLE>Pagina " + QByteArray::number(i) + "</TITLE></HEAD><BODY>\r\n"
                + QByteArray(20000, 'x') + "\r\n</BODY></HTML>\r\n");
    }
    LocalHttpServer web;
    for (int i = 0; i < 10; ++i)
        web.add("/w" + QByteArray::number(i),
                {"<html><head><title>Web " + QByteArray::number(i) + "</title></head><body>"
                 + QByteArray(20000, 'y') + "<script>var a = []; for (var k = 0; k < 1000; ++k) a.push({k: k});"
                 "</script></body></html>"});

    QuietUi ui;
    platform::RealFiles files(QStringLiteral("C:\\HOME-PAG"), QStringLiteral("lanterna"));
    FakeProcesses processes; // no process of the machine is ever ended from here
    platform::RealShell shell;
    platform::Services services{ui, files, processes, shell, [](QWidget *parent) -> platform::WebBrowser * {
                                    return new platform::WebEngineBrowser(parent);
                                }};
    platform::install(services);

    Module1::StartUrl = QStringLiteral("C:\\HOME-PAG\\P0.HTM");
    frmBrowser *w = forms::frmBrowser();
    auto *engine = qobject_cast<platform::WebEngineBrowser *>(w->brwWebBrowser);
    auto finished = [&](const QString &ending) {
        return waitForEvents([&] { return !engine->Busy() && engine->LocationURL().endsWith(ending); }, 60000);
    };
    finished(QStringLiteral("P0.HTM"));

    std::printf("%-11s %9s %9s %9s %9s %8s %8s %8s %9s %8s %8s\n", "navigations", "PSS (MiB)", "program", "own dirty",
                "processes", "seconds", "ms/nav", "max ms", "addresses", "history", "windows");
    QElapsedTimer clock;
    clock.start();
    QElapsedTimer one;
    qint64 slowest = 0;
    qint64 sinceLast = 0;
    int edits = 0;
    for (int n = 1; n <= total; ++n) {
        one.start();
        const bool local = n % 2 == 0;
        const QString address = local ? QStringLiteral("C:\\HOME-PAG\\P%1.HTM").arg(n % 10)
                                      : web.url(QStringLiteral("/w%1").arg(n % 10));
        w->cboAddress->setEditText(address);
        w->cboAddress_Click();
        if (!finished(local ? QStringLiteral("P%1.HTM").arg(n % 10) : QStringLiteral("/w%1").arg(n % 10))) {
            std::fprintf(stderr, "navigation %d to %s did not finish\n", n, qPrintable(address));
            return 1;
        }
        slowest = std::max(slowest, one.elapsed());
        if (n % 100 == 0) {
            const qint64 loading = clock.elapsed() - sinceLast;
            // The editor on the local page shown: the tick has written its path into Tag.
            waitForEvents([&] { return !w->timTimer->isActive(); }, 10000);
            if (local && InsertBlock(QStringLiteral("<P>riga %1</P>").arg(n), nullptr))
                ++edits;
            QCoreApplication::processEvents();
            Tree tree;
            addTree(::getpid(), tree);
            std::printf("%-11d %9.1f %9.1f %9.1f %9d %8.1f %8lld %8lld %9d %8d %8lld\n", n,
                        double(tree.pssKiB) / 1024.0, double(tree.rootKiB) / 1024.0, double(tree.dirtyKiB) / 1024.0,
                        tree.processes, double(clock.elapsed()) / 1000.0, loading / 100, slowest,
                        w->cboAddress->count(), engine->page()->history()->count(),
                        qlonglong(QApplication::topLevelWidgets().size()));
            std::fflush(stdout);
            slowest = 0;
            sinceLast = clock.elapsed();
        }
    }
    std::printf("edits: %d, addresses listed: %d\n", edits, w->cboAddress->count());
    return 0;
}
