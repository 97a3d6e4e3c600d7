#pragma once
#include <QString>

class QLineEdit;

namespace platform {

// The text with every CR and LF turned into a blank, one for one.
QString blankLineBreaks(QString text);

// Keeps a one-line box free of line breaks, however they come in: the toolkit's box
// keeps the CR and LF of a pasted or dropped text (a terminal copy ends in one), and
// they would reach whatever the box's text is written into. Each becomes a blank at
// once, so the usual trimming removes a trailing one.
void keepSingleLine(QLineEdit *edit);

} // namespace platform
