#include "platform/SingleLine.h"

#include <QLineEdit>

#include <algorithm>

namespace platform {

namespace {

bool isLineBreak(QChar c) { return c == QLatin1Char('\r') || c == QLatin1Char('\n'); }

} // namespace

QString blankLineBreaks(QString text)
{
    for (QChar &c : text)
        if (isLineBreak(c))
            c = QLatin1Char(' ');
    return text;
}

void keepSingleLine(QLineEdit *edit)
{
    // Every way in (paste, drop, the context menu, setText) ends in textChanged.
    QObject::connect(edit, &QLineEdit::textChanged, edit, [edit](const QString &text) {
        if (std::none_of(text.begin(), text.end(), isLineBreak))
            return;
        // One blank per break keeps the cursor where the insertion left it.
        const int cursor = edit->cursorPosition();
        const bool modified = edit->isModified();
        edit->setText(blankLineBreaks(text));
        edit->setCursorPosition(cursor);
        edit->setModified(modified);
    });
}

} // namespace platform
