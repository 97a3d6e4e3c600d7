#include "platform/Text.h"

#include "platform/Ansi.h"

namespace platform {

QString fromAnsi(QByteArrayView bytes)
{
    QString out(bytes.size(), Qt::Uninitialized);
    QChar *d = out.data();
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        d[i] = QChar(ansi::decodeByte(b));
    }
    return out;
}

QByteArray toAnsi(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *d = out.data();
    const QChar *s = text.constData();
    for (qsizetype i = 0; i < text.size(); ++i)
        d[i] = ansi::encodeChar(s[i].unicode());
    return out;
}

QList<QByteArray> splitLines(const QByteArray &bytes)
{
    QList<QByteArray> lines;
    for (const auto &[offset, length] : ansi::lineSpans(std::string_view(bytes.constData(), size_t(bytes.size()))))
        lines.append(bytes.mid(qsizetype(offset), qsizetype(length)));
    return lines;
}

QByteArray joinLinesCrLf(const QList<QByteArray> &lines)
{
    qsizetype total = 0;
    for (const auto &l : lines)
        total += l.size() + 2;
    QByteArray out;
    out.reserve(total);
    for (const auto &l : lines) {
        out += l;
        out += "\r\n";
    }
    return out;
}

} // namespace platform
