#include "platform/RealUi.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

using namespace platform;

namespace {

// Presses a button of the message box once it is up, and remembers what it showed.
struct BoxPresser {
    QMessageBox::StandardButton press;
    QString title, text;
    QStringList buttons;
    void arm()
    {
        QTimer::singleShot(0, [this] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            title = box->windowTitle();
            text = box->text();
            for (QAbstractButton *b : box->buttons())
                buttons << b->text().remove(QLatin1Char('&'));
            box->button(press)->click();
        });
    }
};

} // namespace

TEST(RealUiBox, AnswersCarryTheClassicCodesAndTheApplicationTitle)
{
    RealUi ui;
    BoxPresser yes{QMessageBox::Yes};
    yes.arm();
    EXPECT_EQ(ui.MsgBox("Desideri registrare?\rSecond line", vbYesNo, "Chiusura Lanterna"), vbYes);
    EXPECT_EQ(yes.title, "Chiusura Lanterna");
    EXPECT_EQ(yes.text, "Desideri registrare?\nSecond line"); // a lone CR breaks the line
    EXPECT_EQ(yes.buttons, (QStringList{"S\u00EC", "No"}));

    BoxPresser no{QMessageBox::No};
    no.arm();
    EXPECT_EQ(ui.MsgBox("?", vbYesNo), vbNo);
    EXPECT_EQ(no.title, "Lanterna");

    BoxPresser cancel{QMessageBox::Cancel};
    cancel.arm();
    EXPECT_EQ(ui.MsgBox("Cerca di aprire nuovo sito: x", vbOKCancel, "Apre nella stessa finestra"), vbCancel);
    EXPECT_EQ(cancel.buttons, (QStringList{"OK", "Annulla"}));

    BoxPresser ok{QMessageBox::Ok};
    ok.arm();
    EXPECT_EQ(ui.MsgBox("Info", vbOKOnly | vbInformation), vbOK);
}

TEST(RealUiProgram, EndingTheProgramLeavesNestedLoopsToo)
{
    RealUi ui;
    bool nestedLeft = false;
    QTimer::singleShot(0, [&] {
        QEventLoop nested;
        QTimer::singleShot(0, [&] { ui.endProgram(); });
        nested.exec();
        nestedLeft = true;
    });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_TRUE(nestedLeft);
}

TEST(RealUiBox, TheLoginBoxHidesThePasswordAndAnnullaGivesNothing)
{
    RealUi ui;
    QString shown;
    const auto fill = [&](bool ok) {
        QTimer::singleShot(0, [&, ok] {
            auto *box = qobject_cast<QDialog *>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            shown = box->windowTitle();
            const QList<QLineEdit *> fields = box->findChildren<QLineEdit *>();
            ASSERT_EQ(fields.size(), 2);
            EXPECT_EQ(fields[1]->echoMode(), QLineEdit::Password);
            fields[0]->setText("utente");
            fields[1]->setText("segreta");
            ok ? box->accept() : box->reject();
        });
    };
    QString user = "prima", password;
    fill(false);
    EXPECT_FALSE(ui.askLogin("http://router", "Router", &user, &password));
    EXPECT_EQ(user, "prima");
    fill(true);
    EXPECT_TRUE(ui.askLogin("http://router", "Router", &user, &password));
    EXPECT_EQ(shown, "Autenticazione richiesta");
    EXPECT_EQ(user + ":" + password, "utente:segreta");
}
