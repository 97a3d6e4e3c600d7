#include "KeyHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

// An address copied from a terminal ends in a line break; the box turns it into a blank
// and Enter still navigates.
class AddressPaste : public LanternaTest {};

TEST_F(AddressPaste, PastedOrDroppedLineBreaksBecomeBlanksAndEnterStillNavigates)
{
    Module1::StartUrl = QStringLiteral("about:blank");
    frmBrowser *w = forms::frmBrowser();
    w->timTimer->stop();
    ASSERT_TRUE(keys::showActive(w));
    browser()->calls.clear();
    QLineEdit *edit = w->cboAddress->lineEdit();

    edit->clear();
    keys::pasteInto(edit, QStringLiteral("file:///C:/HOME-PAG/B.HTM\r\n"));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("file:///C:/HOME-PAG/B.HTM  "));
    EXPECT_TRUE(browser()->calls.isEmpty()) << "a pasted break is no Enter";
    // Enter as the box's own key tests give it (the window's route to the box is
    // another matter).
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:file:///C:/HOME-PAG/B.HTM  "});
    EXPECT_EQ(w->Command1->text(), QStringLiteral(" Modifica    pagina"));

    edit->clear();
    keys::dropOnto(edit, QStringLiteral("http://host/\n"));
    EXPECT_EQ(w->cboAddress->currentText(), QStringLiteral("http://host/ "));

    // Picking from the list still navigates to the entry.
    browser()->calls.clear();
    w->cboAddress->addItem(QStringLiteral("http://listed/"));
    const int i = w->cboAddress->count() - 1;
    w->cboAddress->setCurrentIndex(i);
    emit w->cboAddress->activated(i);
    EXPECT_EQ(browser()->calls, QStringList{"Navigate:http://listed/"});
}
