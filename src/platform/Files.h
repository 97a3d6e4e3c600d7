#pragma once
#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

namespace platform {

// Attribute bits as the classic file system reports them.
enum FileAttr : unsigned {
    AttrReadOnly = 0x01,
    AttrHidden = 0x02,
    AttrSystem = 0x04,
    AttrDirectory = 0x10,
    AttrArchive = 0x20,
};

struct DirEntry {
    QString name;       // bare name, decoded from the native bytes
    unsigned attributes = 0;
    bool isDirectory() const { return attributes & AttrDirectory; }
};

// Every path here is a Windows path string; the implementation maps it.
class Files {
public:
    virtual ~Files() = default;

    // True when the path names a file that can be opened for reading (not a folder).
    virtual bool canOpenForRead(const QString &path) = 0;
    // Whole file as bytes; nullopt when it cannot be read.
    virtual std::optional<QByteArray> readAll(const QString &path) = 0;
    // Both writers below replace a symbolic link at the path by the file itself; the
    // file it names is never written.
    // Creates or replaces the file with these bytes. False on any failure
    // (the old content may then be lost: use replaceFile to keep it).
    virtual bool writeAll(const QString &path, const QByteArray &data) = 0;
    // Writes a temporary file beside the target and renames it over the target,
    // so the target holds either its old or its whole new content. In a folder that
    // refuses new files the target, when writable, is rewritten in place: the only
    // way to change it there.
    virtual bool replaceFile(const QString &path, const QByteArray &data) = 0;
    // Copies src over dst (dst replaced atomically). False on failure.
    virtual bool copyFile(const QString &src, const QString &dst) = 0;
    virtual bool removeFile(const QString &path) = 0;
    // Entries of the folder of `pattern` whose names match its last part
    // ("*" and "?", case-insensitive, "*.*" matches every name), "." and ".."
    // included for "*.*"; nullopt when nothing matches or the folder cannot be read.
    virtual std::optional<std::vector<DirEntry>> list(const QString &pattern) = 0;
    // The attribute-filtered lookup of one path: found only when each of the entry's
    // hidden, system and directory bits is in `allowed` (read-only, archive never matter).
    virtual bool lookup(const QString &path, unsigned allowed) = 0;
    // GetPrivateProfileString: section and key without regard to case, value trimmed,
    // at most `size - 1` characters; the default when the file or the key is missing.
    virtual QString profileString(const QString &section, const QString &key,
                                  const QString &defaultValue, const QString &file,
                                  int size = 2048) = 0;
    // Folder of the running program, Windows form, without a final "\".
    virtual QString programFolder() = 0;
    // Executable name without extension.
    virtual QString exeName() = 0;
    // Where the program keeps a file of its own (the visited-links log, a scratch
    // file): beside the program when it may write there or that file is writable
    // there; otherwise (a system-wide install) in the user's data folder.
    virtual QString dataFile(const QString &name) { return programFolder() + QLatin1Char('\\') + name; }
};

} // namespace platform
