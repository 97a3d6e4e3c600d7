#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

#include "editor/RewriteLines.h"

// How the background window turns a name into an image path, and how a page line's
// background attribute takes the new image.
namespace rewrite {

// A name holding neither "\" nor ":" lies in `homeDir`; anything else is a path already.
QString backgroundImagePath(const QString &name, const QString &homeDir);

// The image path as the attribute's value, encoded as the page is.
QByteArray backgroundValue(const QString &imagePath, PageEncoding encoding);

// The line with its background attribute pointing at "file:///" + imagePath (already
// encoded for the page), or nullopt when the line has no such attribute.
//
// The attribute is the first lower-case word "background" that starts a name, stands
// inside a tag (or on a line continuing one) and is followed, blanks allowed, by "=".
// BACKGROUND, background-color, style properties and running text are left alone.
// The new value is always written in double quotes. The old value is cut out: a
// quoted one (double or single quotes) through its closing quote, or up to the first
// ">" when the quote does not close on the line; an unquoted one up to the first blank
// or ">". The rest of the line is kept. An "=" with no value after it on the line leaves
// the line unchanged.
std::optional<QByteArray> backgroundLine(QByteArrayView line, QByteArrayView imagePath);

// The page with every line passed through backgroundLine.
QByteArray replaceBackgroundPage(QByteArrayView page, QByteArrayView imagePath);

} // namespace rewrite
