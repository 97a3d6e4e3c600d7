#include "RewriteHelpers.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTimer>

class EditorMenu : public RewriteTest {};

TEST_F(EditorMenu, CaptionsAndPlaces)
{
    Form2 *m = forms::Form2();
    // The three choices one under the other, F I N E below them at the right.
    const QRect c1 = m->Command1->geometry(), c2 = m->Command2->geometry(), c4 = m->Command4->geometry(),
                c3 = m->Command3->geometry();
    EXPECT_GT(c2.top(), c1.bottom());
    EXPECT_GT(c4.top(), c2.bottom());
    EXPECT_GT(c3.top(), c4.bottom());
    EXPECT_EQ(c1.left(), c2.left());
    EXPECT_EQ(c2.left(), c4.left());
    EXPECT_GT(c3.left(), c4.left());
    EXPECT_EQ(c3.right(), c4.right());
    for (QPushButton *b : {m->Command1, m->Command2, m->Command4, m->Command3})
        EXPECT_TRUE(m->rect().contains(b->geometry()));
}

TEST_F(EditorMenu, CaptionAndLinkWindowsOpenBesideTheMenuAndOutliveIt)
{
    Form2 *m = forms::Form2();
    m->show();
    m->Command2->click();
    Form3 *caption = forms::loaded<Form3>();
    ASSERT_NE(caption, nullptr);
    EXPECT_TRUE(caption->isVisible());
    EXPECT_NE(caption->windowModality(), Qt::ApplicationModal);

    m->Command4->click();
    Form4 *link = forms::loaded<Form4>();
    ASSERT_NE(link, nullptr);
    EXPECT_TRUE(link->isVisible());
    EXPECT_NE(link->windowModality(), Qt::ApplicationModal);

    // Opening again brings the same window forward, hidden or not.
    caption->hide();
    m->Command2->click();
    EXPECT_EQ(forms::loaded<Form3>(), caption);
    EXPECT_TRUE(caption->isVisible());
    m->Command4->click();
    EXPECT_EQ(forms::loaded<Form4>(), link);
    // A minimized window comes back, with what the user had typed.
    caption->Text1->setText(QStringLiteral("in corso"));
    caption->showMinimized();
    link->showMinimized();
    ASSERT_TRUE(caption->isMinimized());
    m->Command2->click();
    m->Command4->click();
    EXPECT_FALSE(caption->isMinimized());
    EXPECT_FALSE(link->isMinimized());
    EXPECT_TRUE(caption->isVisible());
    EXPECT_EQ(caption->Text1->text(), QStringLiteral("in corso"));

    m->Command3->click();
    EXPECT_EQ(forms::loaded<Form2>(), nullptr);
    EXPECT_EQ(forms::loaded<Form3>(), caption);
    EXPECT_EQ(forms::loaded<Form4>(), link);
}

TEST_F(EditorMenu, BackgroundWindowIsModalAndReturnsWhenClosed)
{
    writeFile(home + "SF01.JPG", "x");
    Form2 *m = forms::Form2();
    m->show();
    bool sawModal = false;
    QString firstTag;
    // Runs inside the modal loop, once the background window is up.
    QTimer::singleShot(0, m, [&] {
        Form1 *bg = forms::loaded<Form1>();
        if (!bg)
            return;
        sawModal = bg->isVisible() && bg->windowModality() == Qt::ApplicationModal;
        firstTag = bg->Image1[0]->Tag;
        bg->cmdUSCITA->click();
    });
    m->Command1->click();
    EXPECT_TRUE(sawModal);
    EXPECT_EQ(firstTag, QStringLiteral("SF01.JPG")) << "the window was loaded before it showed";
    EXPECT_EQ(forms::loaded<Form1>(), nullptr);
    EXPECT_EQ(forms::loaded<Form2>(), m) << "the menu stays";
}
