#pragma once
#include "platform/Files.h"

class QFile;

namespace platform {

// Files on the native file system, through the Windows path space.
class RealFiles : public Files {
public:
    // The two overrides let tests and the demo put the program's folder elsewhere.
    explicit RealFiles(QString programFolder = {}, QString exeName = {});

    bool canOpenForRead(const QString &path) override;
    std::optional<QByteArray> readAll(const QString &path) override;
    bool writeAll(const QString &path, const QByteArray &data) override;
    bool replaceFile(const QString &path, const QByteArray &data) override;
    bool copyFile(const QString &src, const QString &dst) override;
    bool removeFile(const QString &path) override;
    std::optional<std::vector<DirEntry>> list(const QString &pattern) override;
    bool lookup(const QString &path, unsigned allowed) override;
    QString profileString(const QString &section, const QString &key, const QString &defaultValue,
                          const QString &file, int size = 2048) override;
    QString programFolder() override;
    QString exeName() override;
    QString dataFile(const QString &name) override;

private:
    QString programFolder_;
    QString exeName_;
};

#ifndef _WIN32
// Opens path into f only if it is a regular file: a pipe or a device would block the
// window (opening a pipe waits for the other end). flags: the access, O_CREAT and so on.
bool openRegularFile(QFile &f, const QString &path, int flags);
#endif

// Wildcard match of one name, as the classic file system does it ("*.*" is everything).
bool matchesWildcard(const QString &name, const QString &mask);
// The INI lookup on text already read.
std::optional<QString> profileLookup(const QString &text, const QString &section, const QString &key);

} // namespace platform
