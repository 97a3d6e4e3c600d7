#include "app/Startup.h"

#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QLoggingCategory>
#include <QTranslator>
#include <QStringList>

#ifdef _WIN32
#include "platform/Win32Processes.h"
#else
#include <unistd.h>
#endif

namespace startup {

void prepareEngine()
{
    QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    // The engine's own console chatter is for its developers, not for ours.
    if (!flags.contains("--log-level"))
        flags += " --log-level=3";
#ifndef _WIN32
    if (::geteuid() == 0 && !flags.contains("--no-sandbox"))
        flags += " --no-sandbox";
#endif
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags.trimmed());
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void useDesignFont()
{
    QFont font = QApplication::font();
    if (QFontDatabase::hasFamily(QStringLiteral("Liberation Sans")))
        font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

void speakItalian()
{
    static QTranslator toolkit;
    if (toolkit.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&toolkit);
}

QString argumentText()
{
#ifdef _WIN32
    return QString::fromStdWString(platform::win32::ownArgumentText());
#else
    QStringList args = QCoreApplication::arguments();
    if (!args.isEmpty())
        args.removeFirst();
    return args.join(QLatin1Char(' '));
#endif
}

RealServices::RealServices()
    : services_{ui_, files_, processes_, shell_, [](QWidget *parent) -> platform::WebBrowser * {
                    return new platform::WebEngineBrowser(parent);
                }}
{
    platform::install(services_);
}

} // namespace startup
