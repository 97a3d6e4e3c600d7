#include "app/Main.h"
#include "app/forms.h"
#include "browser/frmBrowser.h"
#include "platform/RealFiles.h"
#include "platform/RealProcesses.h"
#include "platform/RealShell.h"
#include "platform/RealUi.h"
#include "platform/Services.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <memory>
#include <QFont>
#include <QFontDatabase>
#include <QIcon>
#include <QStringList>
#include <cstdio>

#ifndef _WIN32
#include <unistd.h>
#endif

namespace {

// The engine's sandbox refuses to start as root; the desktop user is never root.
void prepareEngine()
{
#ifndef _WIN32
    if (::geteuid() == 0) {
        QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        if (!flags.contains("--no-sandbox"))
            qputenv("QTWEBENGINE_CHROMIUM_FLAGS", (flags + " --no-sandbox").trimmed());
    }
#endif
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

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

// The windows are laid out in twips for a small 8-point sans serif; a font of those
// metrics keeps every caption inside its control.
void useDesignFont()
{
    QFont font = QApplication::font();
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

} // namespace

int main(int argc, char **argv)
{
    prepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lanterna"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/lanterna.svg")));
    useDesignFont();

    platform::RealUi ui;
    platform::RealFiles files;
    platform::RealProcesses processes;
    platform::RealShell shell;
    const platform::Services services{ui, files, processes, shell, [](QWidget *parent) -> platform::WebBrowser * {
                                          return new platform::WebEngineBrowser(parent);
                                      }};
    platform::install(services);

    // The whole text after the program name is the one argument.
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    Main(args.join(QLatin1Char(' ')));
    reportFirstLocalPage();
    return QApplication::exec();
}
