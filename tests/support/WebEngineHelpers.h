#pragma once
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QTest>
#include <QVariant>
#include <QWebEnginePage>
#include <memory>
#include <optional>

// Runs a script in the page and waits (events running) for its result; an invalid
// QVariant when the page never answers.
inline QVariant evalJs(QWebEnginePage *page, const QString &script, int timeoutMs = 30000)
{
    auto result = std::make_shared<std::optional<QVariant>>();
    page->runJavaScript(script, [result](const QVariant &v) { *result = v; });
    (void)QTest::qWaitFor([&] { return result->has_value(); }, timeoutMs);
    return result->value_or(QVariant());
}

// A small picture file of the given size (PNG bytes unless told; the engine sniffs the
// content, so a .JPG name is fine).
inline QByteArray pictureBytes(int width, int height, const QColor &colour = Qt::darkCyan, const char *format = "PNG")
{
    QImage img(width, height, QImage::Format_RGB32);
    img.fill(colour);
    QByteArray bytes;
    QBuffer buf(&bytes);
    buf.open(QIODevice::WriteOnly);
    img.save(&buf, format);
    return bytes;
}
