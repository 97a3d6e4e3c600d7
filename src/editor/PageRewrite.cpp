#include "editor/PageRewrite.h"

#include "base/BrowserHost.h"
#include "base/Form.h"
#include "base/forms.h"
#include "editor/BackgroundRule.h"
#include "editor/RewriteLines.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

namespace rewrite {

namespace {

QString lessLastChar(const QString &path) { return path.left(qMax<qsizetype>(0, path.size() - 1)); }

// Windows names ignore case: "PAGE.HT~" and "page.ht~" are one file.
bool samePath(const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) == 0; }

} // namespace

QString workingCopyPath(const QString &pagePath) { return lessLastChar(pagePath) + QLatin1Char('~'); }
QString backupPath(const QString &pagePath) { return lessLastChar(pagePath) + QLatin1Char('_'); }

Outcome rewritePage(const QString &pagePath, const PageTransform &transform)
{
    auto &files = platform::files();
    const QString work = workingCopyPath(pagePath);
    const QString backup = backupPath(pagePath);
    const Outcome readFailed{Failure::Read, QStringLiteral("Errore in lettura pagina ") + pagePath};

    // A page whose name already ends in "~" would be its own working copy (writing it
    // would destroy the page before any backup exists), one ending in "_" its own
    // backup: both are refused before anything is written.
    if (pagePath.isEmpty() || samePath(work, pagePath) || samePath(backup, pagePath))
        return readFailed;
    const auto page = files.readAll(pagePath);
    if (!page)
        return readFailed;
    // The lines are cut and ended as 8-bit text; a UTF-16 page would come out torn apart.
    if (page->startsWith("\xFF\xFE") || page->startsWith("\xFE\xFF"))
        return readFailed;
    const QByteArray rewritten = transform(*page);
    if (!files.writeAll(work, rewritten))
        return readFailed;

    // The backup and the page are written from the bytes in hand, the same the two
    // files hold: reading them back cost as much again as the whole rewrite.
    if (!files.replaceFile(backup, *page))
        return {Failure::Backup, QStringLiteral("Errore nella copia della pagina ") + pagePath
                                     + QStringLiteral(" in ") + backup};
    // Written beside the page and renamed over it, so the page is never half written.
    if (!files.replaceFile(pagePath, rewritten))
        return {Failure::Replace, QStringLiteral("Errore in cambio nome pagina ") + work
                                      + QStringLiteral(" in ") + pagePath};
    return {};
}

QByteArray insertBlockTransform(QByteArrayView page, const QString &block)
{
    return insertBlockPage(page, encodeFor(pageEncoding(page), block));
}

QByteArray replaceBackgroundTransform(QByteArrayView page, const QString &imagePath)
{
    return replaceBackgroundPage(page, backgroundValue(imagePath, pageEncoding(page)));
}

} // namespace rewrite

namespace {

bool runRewrite(Form *caller, const rewrite::PageTransform &transform)
{
    BrowserHost *browser = forms::browser();
    const rewrite::Outcome outcome = rewrite::rewritePage(browser->pagePath(), transform);
    if (outcome.failure != rewrite::Failure::None) {
        platform::ui().beep();
        platform::ui().MsgBox(outcome.message, platform::vbOKOnly);
        return false;
    }
    browser->refreshPage();
    // The close box path unloads the window, so its next opening starts afresh.
    if (caller)
        caller->close();
    return true;
}

} // namespace

bool InsertBlock(const QString &block, Form *caller)
{
    return runRewrite(caller, [&](QByteArrayView page) { return rewrite::insertBlockTransform(page, block); });
}

bool ReplaceBackground(const QString &imagePath, Form *caller)
{
    return runRewrite(caller,
                      [&](QByteArrayView page) { return rewrite::replaceBackgroundTransform(page, imagePath); });
}
