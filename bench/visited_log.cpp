// Time of ReadVisitedLog on a 32,767-line log of distinct addresses into a fresh
// address list, against the floor of merely reading the file's lines into a list.
//   cmake -S . -B build-bench -DLANTERNA_BENCH=ON && cmake --build build-bench --target bench_visited_log
//   QT_QPA_PLATFORM=offscreen build-bench/bench/bench_visited_log [runs]
#include "browser/VisitedLog.h"
#include "browser/frmBrowser.h"
#include "platform/Processes.h"
#include "platform/RealFiles.h"
#include "QuietUi.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Text.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class NoProcesses : public platform::Processes {
public:
    std::optional<std::vector<platform::ProcessEntry>> snapshot() override { return std::nullopt; }
    std::optional<Handle> open(quint32) override { return std::nullopt; }
    std::optional<quint32> exitCode(Handle) override { return std::nullopt; }
    bool terminate(Handle, quint32) override { return false; }
    void close(Handle) override {}
    std::optional<platform::StartError> start(const QString &, const QStringList &) override
    {
        return platform::StartError{2, QStringLiteral("not here")};
    }
};

class NoShell : public platform::Shell {
public:
    std::optional<QString> favoritesFolder() override { return std::nullopt; }
    int findExecutable(const QString &) override { return 0; }
    void organizeFavorites(QWidget *, const QString &) override {}
    bool openInTextEditor(const QString &, std::function<void()>) override { return false; }
    QString localIP() override { return {}; }
    QString localHostName() override { return {}; }
};

class IdleBrowser : public platform::WebBrowser {
public:
    using platform::WebBrowser::WebBrowser;
    void Navigate(const QString &) override {}
    void GoBack() override {}
    void GoForward() override {}
    void GoHome() override {}
    void GoSearch() override {}
    void Refresh() override {}
    void Stop() override {}
    bool Busy() const override { return false; }
    QString LocationURL() const override { return {}; }
    QString LocationName() const override { return {}; }
    void FindText(const QString &, FindDirection, FindCase) override {}
    void SetZoomFactor(double) override {}
    double ZoomFactor() const override { return 1.0; }
    void Print(QWidget *) override {}
};

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 9;

    QTemporaryDir root;
    QDir().mkpath(root.filePath(QStringLiteral("PROG")));
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(root.path()));
    platform::RealFiles files(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
    QuietUi ui;
    NoProcesses processes;
    NoShell shell;
    const platform::Services services{ui, files, processes, shell,
                                      [](QWidget *parent) -> platform::WebBrowser * { return new IdleBrowser(parent); }};
    platform::install(services);

    const int lines = visitedlog::kMaxListEntries;
    QByteArray log;
    for (int i = 0; i < lines; ++i)
        log += "http://www.sito" + QByteArray::number(i) + ".example.it/pagine/indice" + QByteArray::number(i % 97) +
               ".htm\r\n";
    const QString path = frmBrowser::visitedLogPath();
    if (!files.writeAll(path, log)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return 1;
    }

    std::vector<double> readTimes, floorTimes;
    double settleMs = 0, popupMs = 0, typeMs = 0;
    for (int r = 0; r < runs; ++r) {
        {
            QElapsedTimer t;
            t.start();
            QStringList list;
            const auto data = files.readAll(path);
            for (const QByteArray &line : platform::splitLines(*data))
                list.append(platform::fromAnsi(line));
            floorTimes.push_back(t.nsecsElapsed() / 1e9);
            if (list.size() != lines)
                return 1;
        }
        auto *w = new frmBrowser(); // a fresh, empty list
        QElapsedTimer t;
        t.start();
        w->ReadVisitedLog();
        readTimes.push_back(t.nsecsElapsed() / 1e9);
        if (w->cboAddress->count() != lines) {
            std::fprintf(stderr, "listed %d of %d\n", w->cboAddress->count(), lines);
            return 1;
        }
        if (r == 0) {
            // The box with the whole log: the events the filling left, opening the list, typing.
            w->show();
            QElapsedTimer e;
            e.start();
            QCoreApplication::processEvents();
            settleMs = e.nsecsElapsed() / 1e6;
            e.restart();
            w->cboAddress->showPopup();
            QCoreApplication::processEvents();
            popupMs = e.nsecsElapsed() / 1e6;
            w->cboAddress->hidePopup();
            QCoreApplication::processEvents();
            w->cboAddress->setFocus();
            e.restart();
            for (char c : QByteArray("http://www.esempio.it/")) {
                QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(QLatin1Char(c)));
                QCoreApplication::sendEvent(w->cboAddress, &press);
            }
            QCoreApplication::processEvents();
            typeMs = e.nsecsElapsed() / 1e6 / 22;
        }
        delete w;
    }

    const double read = median(readTimes), floor = median(floorTimes);
    std::printf("ReadVisitedLog, %d distinct lines, fresh list: median %.4f s over %d runs (goal < 0.2 s)\n", lines,
                read, runs);
    std::printf("floor (read the lines into a QStringList):      median %.4f s\n", floor);
    std::printf("ratio: %.1f\n", floor > 0 ? read / floor : 0.0);
    std::printf("with the whole log: pending events %.1f ms, opening the list %.1f ms, one typed key %.2f ms\n",
                settleMs, popupMs, typeMs);
    std::printf("RESULT visited-links log, 32,767 lines|%.4f|%.4f|s|3|lines read into a list\n", read, floor);
    return read < 0.2 ? 0 : 1;
}
