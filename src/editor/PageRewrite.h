#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <functional>

class Form;

// Rewrites the local page on display (the browser window's Tag): working copy "~",
// backup "_", then the page replaced, the browser refreshed and `caller` closed.
// On failure: a beep and one of the three messages; the caller stays open.
// Returns true on success.
bool InsertBlock(const QString &block, Form *caller);
bool ReplaceBackground(const QString &imagePath, Form *caller);

namespace rewrite {

// The page path less its last character, plus "~" / "_".
QString workingCopyPath(const QString &pagePath);
QString backupPath(const QString &pagePath);

enum class Failure { None, Read, Backup, Replace };

struct Outcome {
    Failure failure = Failure::None;
    QString message; // the text to show, empty on success
};

// Turns the page's bytes into the working copy's bytes.
using PageTransform = std::function<QByteArray(QByteArrayView page)>;

// The file work of a rewrite, with no window involved: read the page, write the
// working copy, back the page up, copy the working copy over the page.
Outcome rewritePage(const QString &pagePath, const PageTransform &transform);

// The page transforms of the two entry points, generated text encoded as the page is.
QByteArray insertBlockTransform(QByteArrayView page, const QString &block);
QByteArray replaceBackgroundTransform(QByteArrayView page, const QString &imagePath);

} // namespace rewrite
