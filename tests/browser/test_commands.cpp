#include "BrowserTest.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressRules.h"
#include "browser/frmBrowser.h"
#include "editor/Form2.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QApplication>
#include <QTest>
#include <QTimer>

#include <functional>

namespace {
const QString kEdit = QStringLiteral(" Modifica    pagina");
}

class Commands : public BrowserTest {};

TEST_F(Commands, Command1EditsLocalPagesAndStartsACopyOnWebPages)
{
    // about:blank: only the address box changes.
    w->Command1->setText(QStringLiteral("Nuovo Lanterna"));
    w->cboAddress->setEditText(QStringLiteral("typed"));
    browser()->locationURL = QStringLiteral("about:blank");
    w->Command1->click();
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("about:blank"));
    EXPECT_EQ(w->Command1->text(), QStringLiteral("Nuovo Lanterna"));
    EXPECT_TRUE(processes.starts.empty());
    EXPECT_EQ(forms::loaded<Form2>(), nullptr);

    // A local page: the editor menu, no new copy.
    browser()->locationURL = QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM");
    w->Command1->click();
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM"));
    EXPECT_EQ(w->Command1->text(), kEdit);
    ASSERT_NE(forms::loaded<Form2>(), nullptr);
    EXPECT_TRUE(forms::loaded<Form2>()->isVisible());
    EXPECT_TRUE(processes.starts.empty());
    // Clicked again while the editor menu is open behind the browser: it comes to the front.
    w->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return w->isActiveWindow(); }, 5000));
    w->Command1->click();
    EXPECT_TRUE(QTest::qWaitFor([&] { return forms::loaded<Form2>()->isActiveWindow(); }, 5000));
    forms::unload<Form2>();

    // A web page: a new copy on that address, as one argument.
    browser()->locationURL = QStringLiteral("http://www.example.it/a b;c");
    w->Command1->click();
    EXPECT_EQ(w->Command1->text(), QStringLiteral("Nuovo Lucerna2"));
    ASSERT_EQ(processes.starts.size(), 1u);
    EXPECT_EQ(processes.starts[0].program, QStringLiteral("C:\\PROG\\lanterna"));
    EXPECT_EQ(processes.starts[0].arguments, QStringList{QStringLiteral("http://www.example.it/a b;c")});
    EXPECT_EQ(forms::loaded<Form2>(), nullptr);

    // "FILE://" is not a local page: the test is case-sensitive.
    browser()->locationURL = QStringLiteral("FILE:///C:/X.HTM");
    w->Command1->click();
    EXPECT_EQ(processes.starts.size(), 2u);

    // No page: the box is emptied and a copy starts without an address.
    browser()->locationURL.clear();
    w->Command1->click();
    EXPECT_EQ(w->cboAddress->currentText(), QString());
    ASSERT_EQ(processes.starts.size(), 3u);
    EXPECT_TRUE(processes.starts[2].arguments.isEmpty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(Commands, InformationBoxesAndTheClipboard)
{
    ui.clipboard = QStringLiteral("before");

    // A button, the box it shows and what the clipboard then holds: Command7 without an
    // address leaves the clipboard alone.
    const int info = platform::vbOKOnly | platform::vbInformation;
    const QString url = QStringLiteral("http://www.example.it/pagina.htm");
    const struct {
        std::function<void()> before;
        QPushButton *button;
        FakeUi::Message shown;
        QString clipboard;
    } clicks[] = {
        {[&] { browser()->locationURL.clear(); }, w->Command7,
         FakeUi::box(QStringLiteral("Non c'e' nessun indirizzo valido !!!"), QStringLiteral("Location Url"), info),
         QStringLiteral("before")},
        {[&] { browser()->locationURL = url; }, w->Command7,
         FakeUi::box(QStringLiteral("Indirizzo attuale: ") + url, QStringLiteral("Location Url"), info), url},
        {[&] {
             shell.ip = QStringLiteral("10.1.2.3");
             shell.host = QStringLiteral("Postazione-1");
         },
         w->Command6,
         FakeUi::box(QStringLiteral("Il tuo indirizzo IP e':   10.1.2.3\r\n\r\nLogin: POSTAZIONE-1"),
                     QStringLiteral("IP Check"), info),
         QStringLiteral("10.1.2.3")},
    };
    for (const auto &c : clicks) {
        c.before();
        const size_t shown = ui.messages.size();
        c.button->click();
        ASSERT_EQ(ui.messages.size(), shown + 1);
        EXPECT_EQ(ui.last(), c.shown);
        EXPECT_EQ(ui.clipboard, c.clipboard);
    }

    // The label's box: a beep, three lines split by single CRs, no title, no icon.
    const int beeps = ui.beeps;
    QTest::mouseDClick(w->lblAddress, Qt::LeftButton);
    EXPECT_EQ(ui.beeps, beeps + 1);
    ASSERT_EQ(ui.messages.size(), 4u);
    const QString about = ui.last().text;
    EXPECT_EQ(ui.last().title, QStringLiteral("Lanterna"));
    EXPECT_EQ(ui.last().flags, platform::vbOKOnly);
    EXPECT_FALSE(about.contains(QLatin1Char('\n')));
    const QStringList lines = about.split(QLatin1Char('\r'));
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].contains(QLatin1String("HTML")));
    EXPECT_TRUE(lines[0].contains(QLatin1String("progetto Lanterna")));
    EXPECT_TRUE(lines[1].isEmpty());
    EXPECT_FALSE(lines[2].isEmpty());
}

TEST_F(Commands, ShortcutsNavigateThroughTheAddressAction)
{
    for (int i = 0; i < 6; ++i) {
        const QString expected = QString::fromLatin1(address::kShortcuts[size_t(i)]);
        Module1::PageVisited = 0;
        w->timTimer->stop();
        browser()->calls.clear();
        w->Command8[size_t(i)]->click();
        EXPECT_EQ(Module1::StartUrl, expected);
        EXPECT_EQ(w->cboAddress->currentText(), expected);
        EXPECT_EQ(browser()->calls, QStringList{QStringLiteral("Navigate:") + expected});
        EXPECT_TRUE(w->timTimer->isActive());
        EXPECT_EQ(Module1::PageVisited, 1);
        EXPECT_EQ(w->Command1->text(), QStringLiteral("Nuovo Lucerna2"));
        // The window need not be active: the focus child is what moved.
        EXPECT_EQ(w->focusWidget(), w->Command7) << i;
        w->cboAddress->setFocus();
    }
}

TEST_F(Commands, PopUpSwitchAndTheOtherWindows)
{
    EXPECT_FALSE(Module1::AllowPopups);
    w->Check2->click(); // off
    EXPECT_TRUE(Module1::AllowPopups);
    w->Check2->click(); // on again
    EXPECT_FALSE(Module1::AllowPopups);
    w->Check2->click();
    EXPECT_TRUE(Module1::AllowPopups);

    const int waits = ui.waitOnCount;
    w->Command3->click();
    EXPECT_GT(ui.waitOnCount, waits);
    ASSERT_NE(forms::loaded<frmFav>(), nullptr);
    EXPECT_TRUE(forms::loaded<frmFav>()->isVisible());

    w->Command4->click();
    ASSERT_NE(forms::loaded<Test_URL>(), nullptr);
    EXPECT_TRUE(forms::loaded<Test_URL>()->isVisible());
    EXPECT_TRUE(ui.messages.empty());
}
