#include "iemanager/Test_URL.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "iemanager/IeProcesses.h"
#include "platform/Services.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QSignalBlocker>

namespace {
constexpr int kPausePasses = 1000;
}

Test_URL::Test_URL()
{
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Elenco finestre Internet Explorer attive"));
    setFixedSize(platform::px(6285), platform::px(3510));

    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    List1->setGeometry(twipsRect(90, 90, 6090, 2790));
    List1->setSelectionMode(QAbstractItemView::SingleSelection);

    auto button = [this](const char *name, const QString &caption, const QRect &r) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        b->setGeometry(r);
        b->setAutoDefault(false);
        return b;
    };
    Command1 = button("Command1", QStringLiteral("Aggiorna elenco"), twipsRect(3405, 3015, 1410, 390));
    Command2 = button("Command2", QStringLiteral("Info ?"), twipsRect(75, 3030, 795, 375));
    Command3 = button("Command3", QStringLiteral("F I N E"), twipsRect(5040, 3015, 1110, 375));
    Command4 = button("Command4", QStringLiteral("Cancella tutte le finestre IE"), twipsRect(990, 3015, 2265, 390));

    setTabOrder(List1, Command1);
    setTabOrder(Command1, Command2);
    setTabOrder(Command2, Command3);
    setTabOrder(Command3, Command4);

    connect(Command1, &QPushButton::clicked, this, &Test_URL::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Test_URL::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Test_URL::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Test_URL::Command4_Click);
    connect(List1, &QListWidget::itemSelectionChanged, this, &Test_URL::List1_Click);
}

void Test_URL::Form_Load() { Command1_Click(); }

void Test_URL::setVisible(bool visible)
{
    // A minimised window stays so here: showMinimized() comes this way too.
    if (visible && isVisible() && !isMinimized()) {
        raise();
        activateWindow();
    }
    Form::setVisible(visible);
}

bool Test_URL::yield()
{
    QPointer<Test_URL> self(this);
    platform::ui().doEvents();
    return self && forms::loaded<Test_URL>() == self.data();
}

bool Test_URL::pause()
{
    for (int i = 0; i < kPausePasses; ++i)
        if (!yield())
            return false;
    return true;
}

void Test_URL::Command1_Click()
{
    {
        const QSignalBlocker quiet(List1);
        List1->clear();
    }
    ListIeProcesses();
}

void Test_URL::Command2_Click() { platform::ui().MsgBox(QStringLiteral("Elenco_URL_IE by KV"), platform::vbOKOnly); }

void Test_URL::Command3_Click() { hide(); }

void Test_URL::Command4_Click()
{
    // The count is read once; the numbers are read afresh at each step, since a
    // yield can let the browser's timer relist them.
    const int n = List1->count();
    for (int i = 0; i < n && i < Module1::kMaxIeProcesses; ++i) {
        Module1::LastIeProcessId = Module1::IeProcessIds[size_t(i) + 1];
        TerminateIeProcess(Module1::LastIeProcessId);
        if (!yield())
            return;
    }
    if (!pause())
        return;
    Command1_Click();
}

void Test_URL::List1_Click()
{
    const QList<QListWidgetItem *> selected = List1->selectedItems();
    if (selected.isEmpty())
        return; // the selection was only cleared
    const int k = List1->row(selected.first());
    const QString line = selected.first()->text();
    // The number is taken now, beside the line the question shows: the list can be
    // rebuilt while the question is open.
    const int index = Module1::IeProcessCount - k;
    const QString id = index >= 1 && index <= Module1::kMaxIeProcesses ? Module1::IeProcessIds[size_t(index)] : QString();

    QPointer<Test_URL> self(this);
    const int answer = platform::ui().MsgBox(QStringLiteral("Spengo la finestra IE:  ") + QStringLiteral("\r\r") + line,
                                             platform::vbYesNo, QStringLiteral("Gestione finestre IE"));
    if (!self || forms::loaded<Test_URL>() != self.data())
        return;
    if (answer == platform::vbYes) {
        Module1::LastIeProcessId = id;
        TerminateIeProcess(Module1::LastIeProcessId);
        if (!yield())
            return;
    }
    if (!pause())
        return;
    Command1_Click();
}
