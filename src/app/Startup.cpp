#include "app/Startup.h"

#include "LanternaVersion.h"
#include "platform/PathSpace.h"
#include "platform/WebEngineBrowser.h"

#include <QApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QLibraryInfo>
#include <QLocale>
#include <QLoggingCategory>
#include <QIcon>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QPixmap>
#include <QPolygonF>
#include <QProxyStyle>
#include <QTranslator>
#include <QStringList>
#include <QTemporaryFile>

#ifdef _WIN32
#include "platform/Win32Processes.h"
#else
#include <unistd.h>
#endif

namespace startup {

namespace {

// The toolbar's overflow button asks the style for its picture as the toolbar is made,
// and the style would find it by trying every image plugin on the machine. It is drawn
// instead (the button shows only when the window is too narrow for the bar).
class OwnStyle : public QProxyStyle {
public:
    QIcon standardIcon(StandardPixmap which, const QStyleOption *option, const QWidget *widget) const override
    {
        if (which != SP_ToolBarHorizontalExtensionButton && which != SP_ToolBarVerticalExtensionButton)
            return QProxyStyle::standardIcon(which, option, widget);
        QPixmap pm(16, 16);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(QColor(60, 60, 60), 1.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        if (which == SP_ToolBarVerticalExtensionButton)
            p.translate(16, 0), p.rotate(90);
        for (double x : {4.0, 9.0})
            p.drawPolyline(QPolygonF({QPointF(x, 4), QPointF(x + 3.5, 8), QPointF(x, 12)}));
        p.end();
        return QIcon(pm);
    }
};

// Written whole beside its place and renamed into it, so no start ever shows half a
// sample; a file that appeared meanwhile (another first start) is kept. Copied by
// hand: a copy of a resource would be read-only, and these are the user's to edit.
bool copySample(const QString &from, const QString &to)
{
    QFile in(from);
    QTemporaryFile out(to + QStringLiteral(".XXXXXX"));
    out.setAutoRemove(false);
    if (!in.open(QIODevice::ReadOnly) || !out.open())
        return false;
    const QByteArray bytes = in.readAll();
    const bool written = out.write(bytes) == bytes.size() && out.flush()
                         && out.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    out.close();
    // Renaming never replaces a file that is there.
    if (written && QFile::rename(out.fileName(), to))
        return true;
    QFile::remove(out.fileName());
    return QFileInfo::exists(to);
}

} // namespace

const char *version() { return LANTERNA_VERSION; }

std::optional<std::string> optionText(int argc, const char *const *argv)
{
    if (argc != 2)
        return std::nullopt;
    const std::string option = argv[1];
    if (option == "--version")
        return std::string("Lanterna ") + version() + "\n";
    if (option == "--help")
        return std::string("Uso: lanterna [INDIRIZZO]\n"
                           "Lanterna, navigatore web. Apre INDIRIZZO: un sito (www.esempio.it), una\n"
                           "pagina web (https://...) o un file (C:\\HOME-PAG\\INIZIO.HTM, Z:\\tmp\\a.htm).\n"
                           "Senza INDIRIZZO apre la pagina iniziale C:\\HOME-PAG\\INIZIO.HTM.\n"
                           "Il disco C: è la cartella ~/.local/share/lanterna/C, o LANTERNA_DRIVE_C.\n"
                           "\n"
                           "  --privato  non usa e non conserva cookie, cache e dati dei siti\n"
                           "  --help     mostra questo aiuto ed esce\n"
                           "  --version  mostra la versione ed esce\n");
    return std::nullopt;
}

bool privateStart(int argc, const char *const *argv)
{
    return argc == 2 && std::string(argv[1]) == "--privato";
}

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
    // The engine takes its own language (error pages, form texts) from the default
    // locale when it starts: an Italian program speaks Italian whatever the desktop's.
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QLoggingCategory::setFilterRules(QStringLiteral("qt.webenginecontext.info=false"));
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
}

void useDesignFont()
{
    QFont font = QApplication::font();
    // Not asked whether it is there: asking reads the whole font list before the engine
    // starts. Where it is missing, the desktop's nearest sans serif stands in.
    font.setFamily(QStringLiteral("Liberation Sans"));
    font.setPointSize(8);
    QApplication::setFont(font);
}

void useOwnLook()
{
    QApplication::setStyle(new OwnStyle);
    // Pictures drawn from the SVG ahead of time: the SVG itself would bring the SVG
    // libraries into every start. Read as PNG without guessing: a guess would load
    // every image plugin on the machine.
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) {
        QImageReader reader(QStringLiteral(":/icons/lanterna-%1.png").arg(size), "png");
        reader.setAutoDetectImageFormat(false);
        icon.addPixmap(QPixmap::fromImage(reader.read()));
    }
    QApplication::setWindowIcon(icon);
}

void speakItalian()
{
    static QTranslator toolkit;
    if (toolkit.load(QStringLiteral("qtbase_it"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&toolkit);
}

void prepareUserDrive()
{
    if (!platform::usesUserDrive())
        return;
    const QString root = platform::driveRoot(QLatin1Char('C'));
    if (root.isEmpty())
        return;
    // Written once every sample is there: from then on a sample the user deleted stays
    // deleted, unless the home page itself is gone (then the samples come back).
    const QString done = root + QStringLiteral("/.lanterna-esempi");
    if (QFileInfo::exists(done) && QFileInfo::exists(root + QStringLiteral("/HOME-PAG/INIZIO.HTM")))
        return;
    bool complete = true;
    QDirIterator it(QStringLiteral(":/drive"), QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString from = it.next();
        const QString to = root + from.mid(int(qstrlen(":/drive")));
        if (QFileInfo::exists(to) || QFileInfo(to).isSymLink())
            continue;
        if (!QDir().mkpath(QFileInfo(to).path()) || !copySample(from, to))
            complete = false; // the next start tries again
    }
    if (complete) {
        QFile marker(done);
        (void)marker.open(QIODevice::NewOnly);
    }
}

QString argumentText(int argc, const char *const *argv)
{
#ifdef _WIN32
    (void)argc, (void)argv;
    return QString::fromStdWString(platform::win32::ownArgumentText());
#else
    QStringList args;
    for (int i = 1; i < argc; ++i)
        args << QString::fromLocal8Bit(argv[i]);
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
