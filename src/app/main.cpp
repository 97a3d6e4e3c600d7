#include "app/Main.h"
#include "app/Startup.h"
#include "app/forms.h"
#include "browser/frmBrowser.h"
#include "platform/Processes.h"
#include "platform/WebBrowser.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <memory>

namespace {

// For the benchmarks: LANTERNA_BENCH_READY prints "ready" once the first local page
// has loaded; with the value "quit" the program then ends.
void reportFirstLocalPage()
{
    const QByteArray mode = qgetenv("LANTERNA_BENCH_READY");
    if (mode.isEmpty())
        return;
    auto *browser = forms::frmBrowser()->brwWebBrowser;
    auto done = std::make_shared<bool>(false);
    QObject::connect(browser, &platform::WebBrowser::DocumentComplete, browser, [done, mode](const QString &url) {
        if (*done || !url.startsWith(QLatin1String("file:")))
            return;
        *done = true;
        std::printf("ready\n");
        std::fflush(stdout);
        if (mode == "quit")
            QCoreApplication::exit(0);
    });
}

} // namespace

int main(int argc, char **argv)
{
    (void)platform::startedMaximized(); // read before any thread starts
    startup::prepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lanterna"));
    Q_INIT_RESOURCE(app); // they live in the program's static library
    Q_INIT_RESOURCE(drive);
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lanterna.svg")));
    startup::useDesignFont();
    startup::speakItalian();
    startup::prepareUserDrive();
    startup::RealServices services;

    Main(startup::argumentText());
    reportFirstLocalPage();
    return QApplication::exec();
}
