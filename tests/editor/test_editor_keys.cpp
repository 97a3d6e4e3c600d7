#include "KeyHelpers.h"
#include "RewriteHelpers.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSet>

#include <functional>
#include <type_traits>

using keys::focused;
using keys::press;

namespace {

// Presses Tab until `target` has the focus; false when a whole round never reaches it.
bool tabTo(QWidget *window, QWidget *target)
{
    for (int i = 0; i < 40 && focused(window) != target; ++i)
        press(window, Qt::Key_Tab);
    return focused(window) == target;
}

// The widgets Tab reaches in `window`, going round twice.
QSet<QWidget *> tabRound(QWidget *window)
{
    QSet<QWidget *> reached;
    for (int i = 0; i < 60; ++i) {
        reached << focused(window);
        press(window, Qt::Key_Tab);
    }
    return reached;
}

} // namespace

// One key in a caption or link window: its texts, the control that has the focus (reached
// with Tab or set), the key, whether the window closes, and what the page then holds
// (nullptr: the page is unchanged).
template <class F>
struct KeyRow {
    const char *text, *linked;
    std::function<QWidget *(F *)> focus;
    bool byTab;
    Qt::Key key;
    Qt::KeyboardModifiers mods;
    bool closes;
    const char *written;
};

class EditorKeys : public RewriteTest {
protected:
    const QByteArray start = "<HTML><BODY background=\"old.jpg\">\r\n</BODY></HTML>\r\n";

    template <class F>
    void pressIn(F *(*open)(), const KeyRow<F> &r)
    {
        const QByteArray before = readFile(page);
        F *f = open();
        ASSERT_TRUE(keys::showActive(f));
        if (r.text)
            f->Text1->setText(QString::fromLatin1(r.text));
        if constexpr (std::is_same_v<F, ::Form4>)
            if (r.linked)
                f->txtPAG_COLLEGATA->setText(QString::fromLatin1(r.linked));
        if (r.byTab)
            ASSERT_TRUE(tabTo(f, r.focus(f)));
        else if (r.focus)
            r.focus(f)->setFocus();
        press(f, r.key, r.mods);
        const std::string row = r.text ? r.text : "(blank)";
        EXPECT_EQ(forms::loaded<F>() == nullptr, r.closes) << row;
        if (r.written)
            EXPECT_TRUE(readFile(page).contains(r.written)) << readFile(page).toStdString();
        else
            EXPECT_EQ(readFile(page), before) << row;
    }
};

TEST_F(EditorKeys, CaptionAndLinkWindowsConfirmWithEnterAndCloseWithEscape)
{
    showPage(start);
    ASSERT_TRUE(keys::showActive(forms::Form3()));
    EXPECT_EQ(focused(forms::Form3()), forms::Form3()->Text1);
    using C = ::Form3;
    const KeyRow<C> caption[] = {
        // Escape closes from any control. Enter in the text box confirms; so does the
        // keypad's Enter on the size box.
        {"Zero", nullptr, [](C *c) -> QWidget * { return c->Check1; }, false, Qt::Key_Escape, {}, true, nullptr},
        {"Uno", nullptr, nullptr, false, Qt::Key_Return, {}, true, "Uno</font>"},
        {"Due", nullptr, [](C *c) -> QWidget * { return c->Combo1; }, false, Qt::Key_Enter, Qt::KeypadModifier, true,
         "Due</font>"},
        // A blank text is refused as by the button, and the window stays; a focused button
        // takes Enter itself: Annulla closes.
        {nullptr, nullptr, [](C *c) -> QWidget * { return c->Check2; }, false, Qt::Key_Return, {}, false, nullptr},
        {"Tre", nullptr, [](C *c) -> QWidget * { return c->Command2; }, false, Qt::Key_Return, {}, true, nullptr},
    };
    for (const auto &r : caption)
        pressIn(forms::Form3, r);
    EXPECT_EQ(failing->replaced.size(), 4) << "two rewrites, one per Enter";
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.last().text, QStringLiteral("Indicare un testo per la scritta da creare !!!"));

    // The link window: Escape from the page box, Enter on its focused Conferma or in the page box.
    using L = ::Form4;
    const auto pageBox = [](L *l) -> QWidget * { return l->txtPAG_COLLEGATA; };
    const KeyRow<L> link[] = {
        {nullptr, nullptr, pageBox, false, Qt::Key_Escape, {}, true, nullptr},
        {"Quattro", "C:\\HOME-PAG\\B.HTM", [](L *l) -> QWidget * { return l->Command1; }, true, Qt::Key_Return, {},
         true, "Quattro</font>"},
        {"Cinque", "C:\\HOME-PAG\\C.HTM", pageBox, false, Qt::Key_Return, {}, true,
         "C.HTM\"><p align=\"left\"><font color=\"#FFFF80\">Cinque"},
    };
    for (const auto &r : link)
        pressIn(forms::Form4, r);
}

TEST_F(EditorKeys, PickerSlidersTakeTabAndArrowsEnterConfirmsEscapeCancels)
{
    ::Form3 *c = forms::Form3();
    ASSERT_TRUE(keys::showActive(c));
    c->Command3[0]->click();
    ::Colore *p = forms::loaded<::Colore>();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(keys::showActive(p));

    const QSet<QWidget *> reached = tabRound(p);
    for (QWidget *w : {static_cast<QWidget *>(p->VScroll1), static_cast<QWidget *>(p->VScroll2),
                       static_cast<QWidget *>(p->VScroll3), static_cast<QWidget *>(p->HScroll1),
                       static_cast<QWidget *>(p->Command1), static_cast<QWidget *>(p->Command2)})
        EXPECT_TRUE(reached.contains(w)) << w->metaObject()->className();

    // The arrows move the focused slider by its arrow step, and the box follows.
    ASSERT_TRUE(tabTo(p, p->VScroll2));
    press(p, Qt::Key_Up);
    EXPECT_EQ(std::abs(p->VScroll2->value() - 86), 10);
    EXPECT_EQ(
        c->Text2[0]->text(), QStringLiteral("#C8%1F2").arg(p->VScroll2->value(), 2, 16, QLatin1Char('0')).toUpper());
    ASSERT_TRUE(tabTo(p, p->HScroll1));
    press(p, Qt::Key_Right);
    EXPECT_EQ(p->HScroll1->value(), 10);
    EXPECT_EQ(p->txtLUCE->text(), QStringLiteral(" 10"));
    const QString mixed = c->Text2[0]->text();
    EXPECT_EQ(mixed.left(3), QStringLiteral("#D2"));

    // Enter on a slider is the picker's Conferma: closed, the colour stays.
    press(p, Qt::Key_Return);
    EXPECT_EQ(forms::loaded<::Colore>(), nullptr);
    EXPECT_EQ(c->Text2[0]->text(), mixed);
    EXPECT_NE(forms::loaded<::Form3>(), nullptr) << "only the picker closes";

    // Escape is its Annulla.
    c->Command3[1]->click();
    p = forms::loaded<::Colore>();
    ASSERT_NE(p, nullptr);
    ASSERT_TRUE(keys::showActive(p));
    press(p, Qt::Key_Escape);
    EXPECT_EQ(forms::loaded<::Colore>(), nullptr);
    EXPECT_EQ(c->Text2[1]->text(), QStringLiteral("#C856F2"));
    EXPECT_NE(forms::loaded<::Form3>(), nullptr);
}

TEST_F(EditorKeys, BackgroundSamplesTakeTabAndArePickedWithSpaceOrEnter)
{
    showPage(start);
    writeFile(home + "SF01.JPG", "x");
    writeFile(home + "SF02.JPG", "y");

    ::Form1 *b = forms::Form1();
    ASSERT_TRUE(keys::showActive(b));
    // The name box has the focus at opening, so Enter never applies a sample unasked.
    EXPECT_EQ(focused(b), b->Text1);
    const QSet<QWidget *> reached = tabRound(b);
    EXPECT_TRUE(reached.contains(b->Image1[0]));
    EXPECT_TRUE(reached.contains(b->Image1[1]));
    EXPECT_TRUE(reached.contains(b->cmdCONFERMA));
    // Places with no file behind them do nothing when picked, so Tab passes them by.
    EXPECT_FALSE(reached.contains(b->Image1[2]));
    EXPECT_FALSE(reached.contains(b->Image1[5]));

    ASSERT_TRUE(tabTo(b, b->Image1[1]));
    press(b, Qt::Key_Space);
    EXPECT_EQ(forms::loaded<::Form1>(), nullptr);
    EXPECT_TRUE(readFile(page).contains("SF02.JPG"));

    // Enter on a sample applies that sample, once.
    failing->replaced.clear();
    b = forms::Form1();
    ASSERT_TRUE(keys::showActive(b));
    ASSERT_TRUE(tabTo(b, b->Image1[0]));
    press(b, Qt::Key_Return);
    EXPECT_EQ(forms::loaded<::Form1>(), nullptr);
    EXPECT_TRUE(readFile(page).contains("SF01.JPG"));
    EXPECT_EQ(failing->replaced.size(), 2);

    // Enter in the name box confirms, once; Escape closes.
    failing->replaced.clear();
    b = forms::Form1();
    ASSERT_TRUE(keys::showActive(b));
    b->Text1->setText(QStringLiteral("SF02.JPG"));
    press(b, Qt::Key_Return);
    EXPECT_EQ(forms::loaded<::Form1>(), nullptr);
    EXPECT_TRUE(readFile(page).contains("SF02.JPG"));
    EXPECT_EQ(failing->replaced.size(), 2);
    EXPECT_TRUE(ui.messages.empty()) << ui.last().text.toStdString();

    const QByteArray before = readFile(page);
    b = forms::Form1();
    ASSERT_TRUE(keys::showActive(b));
    b->Text1->setText(QStringLiteral("SF01.JPG"));
    press(b, Qt::Key_Escape);
    EXPECT_EQ(forms::loaded<::Form1>(), nullptr);
    EXPECT_EQ(readFile(page), before);
}

TEST_F(EditorKeys, MenuEnterPressesTheFocusedChoiceAndEscapeEndsIt)
{
    ::Form2 *m = forms::Form2();
    ASSERT_TRUE(keys::showActive(m));
    m->Command2->setFocus();
    press(m, Qt::Key_Return);
    ASSERT_NE(forms::loaded<::Form3>(), nullptr);
    EXPECT_TRUE(forms::loaded<::Form3>()->isVisible());
    EXPECT_EQ(forms::loaded<::Form4>(), nullptr);

    ASSERT_TRUE(keys::showActive(m));
    press(m, Qt::Key_Escape);
    EXPECT_EQ(forms::loaded<::Form2>(), nullptr);
    EXPECT_NE(forms::loaded<::Form3>(), nullptr) << "the caption window outlives the menu";
}
