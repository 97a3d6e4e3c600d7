#pragma once
#include <QByteArray>
#include <QList>
#include <QString>

// 8-bit text: Windows-1252 with the five undefined bytes mapped to the C1 code
// points of the same value, so every byte sequence decodes and encodes back unchanged.
namespace platform {

QString fromAnsi(QByteArrayView bytes);
inline QString fromAnsi(const QByteArray &bytes) { return fromAnsi(QByteArrayView(bytes)); }
// Characters outside the code page become '?'.
QByteArray toAnsi(const QString &text);
// Splits at CR LF, a lone CR or a lone LF. A final line end does not start an empty line.
QList<QByteArray> splitLines(const QByteArray &bytes);
// Joins lines, each followed by CR LF.
QByteArray joinLinesCrLf(const QList<QByteArray> &lines);

} // namespace platform
