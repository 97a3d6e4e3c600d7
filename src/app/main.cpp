#include "app/Main.h"
#include "app/Startup.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/Processes.h"
#include "platform/ProfileStore.h"

#include <QApplication>

#include <cstdio>

int main(int argc, char **argv)
{
    // Answered before anything else starts, so they work without a display.
    if (const auto text = startup::optionText(argc, argv)) {
        std::fputs(text->c_str(), stdout);
        return 0;
    }
    (void)platform::startedMaximized(); // read before any thread starts
    startup::prepareEngine();
    // Every argument is the address: the toolkit is shown none, or it would take its own
    // options (-reverse, -style ...) out of it.
    const bool privato = startup::privateStart(argc, argv);
    if (privato)
        platform::usePrivateProfile(); // the copies it starts are private too
    const QString argument = privato ? QString() : startup::argumentText(argc, argv);
    int toolkitArgc = 1;
    QApplication app(toolkitArgc, argv);
    QApplication::setApplicationName(QStringLiteral("Lanterna"));
    Q_INIT_RESOURCE(app); // they live in the program's static library
    Q_INIT_RESOURCE(drive);
    startup::useOwnLook();
    startup::useDesignFont();
    startup::speakItalian();
    startup::prepareUserDrive();
    startup::RealServices services;

    Main(argument);
    return QApplication::exec();
}
