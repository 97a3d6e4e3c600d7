#include "KeyHelpers.h"
#include "RewriteHelpers.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"

#include <QComboBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>

namespace {

// Where a window opening under `anchor` puts its top left corner.
QPoint below(const QWidget *anchor) { return anchor->mapToGlobal(QPoint(0, anchor->height())); }

QRect screenArea(const QWidget *w) { return w->screen()->availableGeometry(); }

} // namespace

// The editing windows belong to the browser window (so the window manager keeps them
// above it) and open over it, under the button that opened them.
class EditorWindowPlaces : public RewriteTest {
protected:
    frmBrowser *openMenu()
    {
        frmBrowser *w = forms::frmBrowser();
        EXPECT_TRUE(keys::showActive(w));
        browser()->locationURL = QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM");
        w->Command1->click();
        return w;
    }

    static void expectOwnedBy(QWidget *window, frmBrowser *w)
    {
        ASSERT_NE(window, nullptr);
        EXPECT_TRUE(window->isWindow());
        EXPECT_EQ(window->parentWidget(), w);
        ASSERT_NE(window->windowHandle(), nullptr);
        EXPECT_EQ(window->windowHandle()->transientParent(), w->windowHandle());
    }
};

TEST_F(EditorWindowPlaces, EachWindowIsTheBrowsersAndOpensUnderItsButton)
{
    frmBrowser *w = openMenu();
    ::Form2 *m = forms::loaded<::Form2>();
    expectOwnedBy(m, w);
    EXPECT_EQ(m->pos(), below(w->Command1));

    m->Command2->click();
    ::Form3 *c = forms::loaded<::Form3>();
    expectOwnedBy(c, w);
    EXPECT_EQ(c->pos(), below(m->Command2));

    m->Command4->click();
    ::Form4 *l = forms::loaded<::Form4>();
    expectOwnedBy(l, w);
    EXPECT_EQ(l->pos(), below(m->Command4));

    // A window already open stays where the user left it.
    c->move(c->pos() + QPoint(7, 5));
    const QPoint moved = c->pos();
    m->Command2->click();
    EXPECT_EQ(c->pos(), moved);

    // Near its button, but kept over the browser window.
    c->Command3[1]->click();
    ::Colore *p = forms::loaded<::Colore>();
    expectOwnedBy(p, w);
    EXPECT_TRUE(w->frameGeometry().contains(p->frameGeometry()))
        << p->frameGeometry().x() << "," << p->frameGeometry().y() << " in " << w->frameGeometry().width() << "x"
        << w->frameGeometry().height();
    const QRect r = p->frameGeometry();
    const QPoint b = c->Command3[1]->mapToGlobal(QPoint());
    const int dx = std::max({0, r.left() - b.x(), b.x() - r.right()});
    const int dy = std::max({0, r.top() - b.y(), b.y() - r.bottom()});
    EXPECT_LT(dx + dy, 40) << "the picker opens by its button";

    // The modal background window too.
    QRect at;
    QWidget *parent = nullptr;
    QTimer::singleShot(0, m, [&] {
        if (::Form1 *b = forms::loaded<::Form1>()) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(b));
            // A window manager frames the window a little after it shows.
            EXPECT_TRUE(QTest::qWaitFor([&] { return b->frameGeometry() != b->geometry(); }, 2000));
            at = b->frameGeometry();
            parent = b->parentWidget();
            b->close();
        }
    });
    m->Command1->click();
    EXPECT_EQ(parent, w);
    // Too wide to stand right of its button over the browser: moved left just enough.
    EXPECT_EQ(at.top(), below(m->Command1).y());
    EXPECT_LT(at.left(), below(m->Command1).x());
    EXPECT_EQ(at.right(), w->frameGeometry().right());
}

TEST_F(EditorWindowPlaces, WindowsStayOnTheScreenWhenTheBrowserIsNearItsEdge)
{
    frmBrowser *w = forms::frmBrowser();
    ASSERT_TRUE(keys::showActive(w));
    const QRect area = screenArea(w);
    w->move(area.right() - w->width() / 4, area.bottom() - w->height() / 4);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !area.contains(w->frameGeometry()); }, 5000));
    browser()->locationURL = QStringLiteral("file:///C:/HOME-PAG/INIZIO.HTM");
    w->Command1->click();
    ::Form2 *m = forms::loaded<::Form2>();
    ASSERT_NE(m, nullptr);
    EXPECT_TRUE(area.contains(m->frameGeometry())) << m->frameGeometry().x() << "," << m->frameGeometry().y();
    m->Command4->click();
    ASSERT_NE(forms::loaded<::Form4>(), nullptr);
    EXPECT_TRUE(area.contains(forms::loaded<::Form4>()->frameGeometry()));
}
