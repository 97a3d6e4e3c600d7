#include "KeyHelpers.h"
#include "RewriteHelpers.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/Form4.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

using keys::dropOnto;
using keys::pasteInto;

// Text copied from a terminal or a list ends in a line break; in a one-line box it would
// reach the page and split the generated line.
class PastedLineBreaks : public RewriteTest {};

TEST_F(PastedLineBreaks, LinkWindowBoxesTurnThemIntoBlanksAndThePageGetsOneLine)
{
    showPage("<HTML><BODY>\r\n</BODY></HTML>\r\n");
    ::Form4 *f = forms::Form4();
    ASSERT_TRUE(keys::showActive(f));

    pasteInto(f->txtPAG_COLLEGATA, QStringLiteral("C:\\HOME-PAG\\B.HTM\n"));
    EXPECT_EQ(f->txtPAG_COLLEGATA->text(), QStringLiteral("C:\\HOME-PAG\\B.HTM "));
    EXPECT_TRUE(f->txtPAG_COLLEGATA->isModified());
    // Undo does not bring the break back.
    f->txtPAG_COLLEGATA->undo();
    EXPECT_FALSE(f->txtPAG_COLLEGATA->text().contains(QLatin1Char('\n')));
    f->txtPAG_COLLEGATA->setText(QStringLiteral("C:\\HOME-PAG\\B.HTM\r\n"));
    EXPECT_EQ(f->txtPAG_COLLEGATA->text(), QStringLiteral("C:\\HOME-PAG\\B.HTM  "));

    // Pasting into the middle keeps the cursor after the pasted text.
    f->Text1->setText(QStringLiteral("AB"));
    f->Text1->setCursorPosition(1);
    pasteInto(f->Text1, QStringLiteral("\r\nx\n"));
    EXPECT_EQ(f->Text1->text(), QStringLiteral("A  x B"));
    EXPECT_EQ(f->Text1->cursorPosition(), 5);

    // Dropped text, and the context menu's paste.
    f->Text2[0]->clear();
    dropOnto(f->Text2[0], QStringLiteral("#FF0000\r\n"));
    EXPECT_EQ(f->Text2[0]->text(), QStringLiteral("#FF0000  "));
    f->Text2[1]->clear();
    QGuiApplication::clipboard()->setText(QStringLiteral("\n#00FF00"));
    f->Text2[1]->paste();
    EXPECT_EQ(f->Text2[1]->text(), QStringLiteral(" #00FF00"));

    // The editable size box is a one-line box too.
    f->Combo1->lineEdit()->selectAll();
    pasteInto(f->Combo1, QStringLiteral("H3\n"));
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("H3 "));
    dropOnto(f->Combo1->lineEdit(), QStringLiteral("\r"));
    EXPECT_EQ(f->Combo1->currentText(), QStringLiteral(" H3 "));
    f->Combo1->setEditText(QStringLiteral("H3\n"));

    f->Text1->setText(QStringLiteral("Avanti\n"));
    f->Command1->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();
    EXPECT_EQ(readFile(page), QByteArray("<HTML><BODY>\r\n</BODY></HTML>\r\n"
                                         "<H3><a href=\"file://C:\\HOME-PAG\\B.HTM\"><p align=\"left\">"
                                         "<font color=\"#FF0000\">Avanti </font></p></a></H3>\r\n"));
}

TEST_F(PastedLineBreaks, CaptionAndBackgroundBoxesTurnThemIntoBlanks)
{
    showPage("<HTML><BODY background=\"old.jpg\">\r\n</BODY></HTML>\r\n");
    ::Form3 *c = forms::Form3();
    ASSERT_TRUE(keys::showActive(c));
    pasteInto(c->Text1, QStringLiteral("Ciao\nmondo\r\n"));
    EXPECT_EQ(c->Text1->text(), QStringLiteral("Ciao mondo  "));
    c->Text2[0]->clear();
    pasteInto(c->Text2[0], QStringLiteral("red\n"));
    c->Text2[1]->clear();
    dropOnto(c->Text2[1], QStringLiteral("\nblue"));
    EXPECT_EQ(c->Text2[1]->text(), QStringLiteral(" blue"));
    c->Combo1->setEditText(QString());
    dropOnto(c->Combo1->lineEdit(), QStringLiteral("H1\r\n"));
    EXPECT_EQ(c->Combo1->currentText(), QStringLiteral("H1  "));
    c->Option1[1]->click();
    c->Command1->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();
    EXPECT_EQ(readFile(page), QByteArray("<HTML><BODY background=\"old.jpg\">\r\n</BODY></HTML>\r\n"
                                         "<H1><p><font color=\"red\"><marquee bgcolor=\"blue\">Ciao mondo  "
                                         "</marquee></font></p></H1>\r\n"));

    writeFile(home + "SF01.JPG", "x");
    ::Form1 *b = forms::Form1();
    ASSERT_TRUE(keys::showActive(b));
    pasteInto(b->Text1, QStringLiteral("SF01.JPG\r\n"));
    EXPECT_EQ(b->Text1->text(), QStringLiteral("SF01.JPG  "));
    b->cmdCONFERMA->click();
    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();
    EXPECT_TRUE(readFile(page).startsWith("<HTML><BODY background=\"file:///C:\\HOME-PAG\\SF01.JPG\">\r\n"))
        << readFile(page).toStdString();
}
