#pragma once
#include <QByteArrayView>
#include <QString>
#include <QUrl>

// Addresses between the program's Windows path space and the web engine.
namespace platform {

// What the browser control makes of typed text: a Windows path (drive, rooted or
// relative) or a file: URL written the Windows way becomes a file: URL of the native
// file; backslashes in a web address become slashes; a bare host name gets http://.
// Empty or blank text gives an invalid URL.
QUrl urlFromTyped(const QString &text);

// The Windows path ("C:\HOME-PAG\SF01.JPG") named by a file: URL written the Windows
// way (file:///C:/..., file://C:\..., file:C:\..., backslashes or %5C anywhere), with
// percent escapes decoded; empty for any other URL.
QString windowsPathOfFileUrl(const QString &url);

// The native file: URL a Windows-form file: URL stands for; invalid when the URL is
// not written the Windows way or its drive is not mapped.
QUrl nativeFileUrl(const QUrl &url);

// An address as the control reports it: local files in Windows form
// (file:///C:/HOME-PAG/INIZIO.HTM), everything else as the engine has it.
QString urlText(const QUrl &url);

// Whether a document with this markup may hold a Windows-form address the page script
// has to correct: a drive letter with its colon or bar after anything but a letter or
// digit (file:///C:\... excepted: the engine reads it), an entity that could spell one, or anything that can make markup or frames
// later (scripts, event attributes, frames, objects). Bytes it cannot read as ASCII
// markup (NULs) count as yes.
bool markupMayNeedPathFixup(QByteArrayView html);

} // namespace platform
