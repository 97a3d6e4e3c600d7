#pragma once
#include <QString>

// Windows path strings <-> native paths. On POSIX drive X: maps to
// LANTERNA_DRIVE_X when set; otherwise C: is the user's own drive folder
// (userDataFolder() + "/C"), Z: is "/" and other drives are absent.
namespace platform {

// Native path of a Windows path (drive, rooted or relative; "/" accepted as a
// separator). Empty when the drive is not mapped or the text is empty.
QString toNativePath(const QString &windowsPath);
// Windows form of a native absolute path: the drive whose root is the longest
// prefix, C: before Z: on a tie. Relative paths are made absolute first.
QString toWindowsPath(const QString &nativePath);
// Root folder of a drive letter, or empty when unmapped.
QString driveRoot(QChar letter);
// The program's folder in the user's data home (native path, "~/.local/share/lanterna"):
// the user's own C: drive, and the log of a copy installed where the user cannot write.
QString userDataFolder();
// True when C: is the user's own drive folder (no LANTERNA_DRIVE_C).
bool usesUserDrive();

} // namespace platform
