#include "platform/RealUi.h"

#include "platform/PathSpace.h"

#include <QAbstractButton>
#include <QApplication>
#include <QClipboard>
#include <QCursor>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace platform {

namespace {

QMessageBox::Icon iconOf(int flags)
{
    switch (flags & 0x70) {
    case vbCritical:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case vbExclamation:
        return QMessageBox::Warning;
    case vbInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

QString dialogNameFilter(const QString &patterns)
{
    QStringList out;
    for (const QString &p : patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
        const QString t = p.trimmed();
        if (t.isEmpty())
            continue;
        out << t;
        if (t.toLower() != t)
            out << t.toLower();
        if (t.toUpper() != t)
            out << t.toUpper();
    }
    out.removeDuplicates();
    return out.join(QLatin1Char(' '));
}

int RealUi::showMessage(const QString &text, int flags, const QString &title)
{
    QMessageBox box(iconOf(flags), title, text, QMessageBox::NoButton, QApplication::activeWindow());
    // Message texts break lines with a lone CR.
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
    box.setText(shown);
    switch (flags & 0x7) {
    case vbOKCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case vbYesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setEscapeButton(QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
        break;
    }
    if (flags & vbDefaultButton2)
        box.setDefaultButton(box.escapeButton() ? qobject_cast<QPushButton *>(box.escapeButton()) : nullptr);
    // The program speaks Italian whatever the desktop's language.
    if (QAbstractButton *b = box.button(QMessageBox::Yes))
        b->setText(QStringLiteral("&S\u00EC"));
    if (QAbstractButton *b = box.button(QMessageBox::No))
        b->setText(QStringLiteral("&No"));
    if (QAbstractButton *b = box.button(QMessageBox::Cancel))
        b->setText(QStringLiteral("Annulla"));
    switch (box.exec()) {
    case QMessageBox::Ok:
        return vbOK;
    case QMessageBox::Cancel:
        return vbCancel;
    case QMessageBox::Yes:
        return vbYes;
    case QMessageBox::No:
        return vbNo;
    default:
        return (flags & 0x7) == vbYesNo ? vbNo : vbCancel;
    }
}

void RealUi::beep() { QApplication::beep(); }

void RealUi::setClipboardText(const QString &text)
{
    QClipboard *c = QGuiApplication::clipboard();
    c->clear();
    c->setText(text);
}

QString RealUi::clipboardText() { return QGuiApplication::clipboard()->text(); }

void RealUi::setWaitCursor(bool on)
{
    if (on && !waitApplied_) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        waitApplied_ = true;
    } else if (!on && waitApplied_) {
        QApplication::restoreOverrideCursor();
        waitApplied_ = false;
    }
}

void RealUi::doEvents() { QCoreApplication::processEvents(); }

namespace {

// A modal dialog with OK / Annulla below the given rows; on OK, taken() reads the
// fields while they still exist.
bool runDialog(const QString &title, QLayout *rows, QWidget *focus, const std::function<void()> &taken)
{
    QDialog dialog(QApplication::activeWindow());
    dialog.setWindowTitle(title);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(rows);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Annulla"));
    layout->addWidget(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    dialog.setMinimumWidth(360);
    focus->setFocus();
    if (dialog.exec() != QDialog::Accepted)
        return false;
    taken();
    return true;
}

QLabel *wrapped(const QString &text)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextFormat(Qt::PlainText);
    return label;
}

} // namespace

bool RealUi::askLogin(const QString &site, const QString &realm, QString *user, QString *password)
{
    auto *rows = new QFormLayout;
    QString text = QStringLiteral("Il sito %1 chiede un nome utente e una password.").arg(site);
    if (!realm.isEmpty())
        text += QStringLiteral("\nArea: %1").arg(realm);
    rows->addRow(wrapped(text));
    auto *name = new QLineEdit(*user);
    auto *secret = new QLineEdit(*password);
    secret->setEchoMode(QLineEdit::Password);
    rows->addRow(QStringLiteral("&Nome utente"), name);
    rows->addRow(QStringLiteral("&Password"), secret);
    return runDialog(QStringLiteral("Autenticazione richiesta"), rows, name, [&] {
        *user = name->text();
        *password = secret->text();
    });
}

bool RealUi::inputBox(const QString &prompt, const QString &title, QString *value)
{
    auto *rows = new QVBoxLayout;
    rows->addWidget(wrapped(prompt));
    auto *edit = new QLineEdit(*value);
    rows->addWidget(edit);
    edit->selectAll();
    return runDialog(title.isEmpty() ? QString::fromLatin1(kAppTitle) : title, rows, edit,
                     [&] { *value = edit->text(); });
}

QString RealUi::openFileDialog(const QString &startFileName, const QString &title, const QString &filter)
{
    QString start = startFileName;
    start.replace(QLatin1Char('/'), QLatin1Char('\\'));
    const qsizetype cut = start.lastIndexOf(QLatin1Char('\\'));
    const QString folder = cut >= 0 ? start.left(cut + 1) : QString();
    const QString name = cut >= 0 ? start.mid(cut + 1) : start;
    const bool wildcard = name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));

    QString nameFilter = filter;
    if (nameFilter.isEmpty())
        nameFilter = wildcard ? name : QStringLiteral("*");
    QStringList filters{dialogNameFilter(nameFilter)};
    filters << QStringLiteral("*");

    QString dir = folder.isEmpty() ? QString() : toNativePath(folder);
    if (!wildcard && !name.isEmpty())
        dir += name;
    const QString chosen = QFileDialog::getOpenFileName(QApplication::activeWindow(), title, dir,
                                                        filters.join(QLatin1String(";;")), nullptr,
                                                        QFileDialog::DontUseNativeDialog);
    if (chosen.isEmpty())
        return startFileName;
    return toWindowsPath(chosen);
}

void RealUi::popupMenu(QMenu *menu) { menu->exec(QCursor::pos()); }

void RealUi::endProgram()
{
    // Leaves every event loop, nested ones included.
    QCoreApplication::exit(0);
}

} // namespace platform
