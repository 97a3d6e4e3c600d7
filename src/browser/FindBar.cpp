#include "browser/FindBar.h"

#include "browser/PageTools.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

FindBar::FindBar(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("FindBar"));
    setAutoFillBackground(true);
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    row->setSpacing(6);

    lblFind = new QLabel(QStringLiteral("&Trova:"), this);
    txtFind = new QLineEdit(this);
    txtFind->setFixedWidth(220);
    txtFind->setClearButtonEnabled(true);
    lblFind->setBuddy(txtFind);
    cmdNext = new QPushButton(QStringLiteral("Successivo"), this);
    cmdPrevious = new QPushButton(QStringLiteral("Precedente"), this);
    chkCase = new QCheckBox(QStringLiteral("Maiuscole/minuscole"), this);
    lblCount = new QLabel(this);
    cmdClose = new QToolButton(this);
    cmdClose->setIcon(style()->standardIcon(QStyle::SP_TitleBarCloseButton));
    cmdClose->setToolTip(QStringLiteral("Chiudi"));
    cmdClose->setAutoRaise(true);
    for (QWidget *w : {static_cast<QWidget *>(lblFind), static_cast<QWidget *>(txtFind),
                       static_cast<QWidget *>(cmdNext), static_cast<QWidget *>(cmdPrevious),
                       static_cast<QWidget *>(chkCase), static_cast<QWidget *>(lblCount)})
        row->addWidget(w);
    row->addStretch(1);
    row->addWidget(cmdClose);

    connect(txtFind, &QLineEdit::textChanged, this, [this] { emit find(Direction::Forward); });
    connect(chkCase, &QCheckBox::toggled, this, [this] { emit find(Direction::Forward); });
    connect(cmdNext, &QPushButton::clicked, this, [this] { emit find(Direction::Forward); });
    connect(cmdPrevious, &QPushButton::clicked, this, [this] { emit find(Direction::Backward); });
    connect(cmdClose, &QToolButton::clicked, this, &FindBar::close);
    txtFind->installEventFilter(this);
    hide();
}

void FindBar::open()
{
    show();
    raise();
    txtFind->setFocus(Qt::ShortcutFocusReason);
    txtFind->selectAll();
}

void FindBar::close()
{
    if (isHidden())
        return;
    hide();
    lblCount->clear();
    emit closed();
}

QString FindBar::text() const { return txtFind->text(); }

platform::WebBrowser::FindCase FindBar::matchCase() const
{
    return chkCase->isChecked() ? platform::WebBrowser::FindCase::Match : platform::WebBrowser::FindCase::Ignore;
}

void FindBar::showResult(int activeMatch, int matches)
{
    if (isHidden())
        return; // the answer to the search its closing ended
    lblCount->setText(pagetools::findCountText(text(), activeMatch, matches));
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == txtFind && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
            emit find(k->modifiers() & Qt::ShiftModifier ? Direction::Backward : Direction::Forward);
            return true;
        }
        if (k->key() == Qt::Key_Escape) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
