#pragma once
#include "FaultDriver.h"
#include "TestEnv.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QMap>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <optional>

using namespace std::chrono_literals;

// Every file under a folder with its bytes, to prove that nothing else was written.
inline QMap<QString, QByteArray> snapshot(const QString &folder)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile f(path);
        files.insert(QDir(folder).relativeFilePath(path), f.open(QIODevice::ReadOnly) ? f.readAll() : "?");
    }
    return files;
}

// The drives of the test, made reachable for the user the driver runs as: as root the
// driver drops to "nobody", since root writes through any read-only right.
class FaultTest : public LanternaTest {
protected:
    static constexpr uid_t kNobody = 65534;

    void SetUp() override
    {
        LanternaTest::SetUp();
        asRoot = ::geteuid() == 0;
        // The toolkit wants a runtime folder of its own user; keep it inside the test's.
        const QString runtime = root->filePath(QStringLiteral("runtime"));
        QDir().mkpath(runtime);
        ::chmod(QFile::encodeName(runtime).constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime));
        if (asRoot) {
            ::chmod(QFile::encodeName(root->path()).constData(), 0755);
            // The build folder may lie where "nobody" cannot reach (a clone under /root).
            program = root->filePath(QStringLiteral("lanterna_fault_driver"));
            QFile::copy(QStringLiteral(LANTERNA_FAULT_DRIVER), program);
            giveToDriver(root->path());
        }
    }

    void giveToDriver(const QString &path) const
    {
        if (!asRoot)
            return;
        ::chown(QFile::encodeName(path).constData(), kNobody, kNobody);
        QDirIterator it(path, QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext())
            ::chown(QFile::encodeName(it.next()).constData(), kNobody, kNobody);
    }

    void writeOwned(const QString &windowsPath, const QByteArray &bytes) const
    {
        writeFile(windowsPath, bytes);
        giveToDriver(native(windowsPath));
    }

    void makeOwnedDir(const QString &windowsPath) const
    {
        makeDir(windowsPath);
        giveToDriver(native(windowsPath));
    }

    FaultDriver::Options options() const
    {
        FaultDriver::Options o;
        if (asRoot) {
            o.user = kNobody;
            o.program = program;
        }
        return o;
    }

    bool asRoot = false;
    QString program;
};
