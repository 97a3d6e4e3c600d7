#include "TestEnv.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"
#include "platform/PathSpace.h"

#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileInfo>

#include "platform/WebEngineBrowser.h"

void LanternaTest::SetUp()
{
    root = std::make_unique<QTemporaryDir>();
    ASSERT_TRUE(root->isValid());
    driveC = root->filePath(QStringLiteral("C"));
    driveD = root->filePath(QStringLiteral("D"));
    QDir().mkpath(driveC + QStringLiteral("/PROG"));
    QDir().mkpath(driveD);
    qputenv("LANTERNA_DRIVE_C", QFile::encodeName(driveC));
    qputenv("LANTERNA_DRIVE_D", QFile::encodeName(driveD));
    files = std::make_unique<platform::RealFiles>(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
    shell.favorites = QStringLiteral("C:\\Utenti\\mario\\Favorites");
    Module1::reset();
    install(processes);
}

void LanternaTest::TearDown()
{
    unloadAll();
    qunsetenv("LANTERNA_DRIVE_C");
    qunsetenv("LANTERNA_DRIVE_D");
}

void LanternaTest::unloadAll()
{
    forms::unload<::Colore>();
    forms::unload<::Form1>();
    forms::unload<::Form3>();
    forms::unload<::Form4>();
    forms::unload<::Form2>();
    forms::unload<::frmFav>();
    forms::unload<::Test_URL>();
    forms::unload<::frmBrowser>();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

void LanternaTest::install(platform::Processes &p)
{
    services_ = std::make_unique<platform::Services>(platform::Services{
        ui, *files, p, shell, [this](QWidget *parent) -> platform::WebBrowser * {
            if (realBrowser_)
                return new platform::WebEngineBrowser(parent);
            auto *b = new FakeWebBrowser(parent);
            browsers.push_back(b);
            return b;
        }});
    platform::install(*services_);
}

void LanternaTest::useProcesses(platform::Processes &p) { install(p); }
void LanternaTest::useRealBrowser() { realBrowser_ = true; }

QString LanternaTest::native(const QString &windowsPath) const { return platform::toNativePath(windowsPath); }

void LanternaTest::writeFile(const QString &windowsPath, const QByteArray &data) const
{
    const QString n = native(windowsPath);
    QDir().mkpath(QFileInfo(n).absolutePath());
    QFile f(n);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate)) << n.toStdString();
    f.write(data);
}

QByteArray LanternaTest::readFile(const QString &windowsPath) const
{
    QFile f(native(windowsPath));
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

bool LanternaTest::exists(const QString &windowsPath) const { return QFileInfo::exists(native(windowsPath)); }

void LanternaTest::makeDir(const QString &windowsPath) const { QDir().mkpath(native(windowsPath)); }
