#include "TestEnv.h"
#include "base/HexByte.h"
#include "base/Module1.h"
#include "app/Startup.h"
#include "base/forms.h"

#include <QApplication>
#include <QCoreApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyle>
#include <QEvent>
#include <QPointer>
#include <QTimer>

TEST(HexByte, AlwaysTwoUpperCaseDigits)
{
    EXPECT_EQ(HexByte(0), "00");
    EXPECT_EQ(HexByte(5), "05");
    EXPECT_EQ(HexByte(200), "C8");
    EXPECT_EQ(HexByte(255), "FF");
}

namespace {
int loads = 0;
int unloads = 0;
class Probe : public Form {
public:
    void Form_Load() override { ++loads; }
    void Form_Unload() override { ++unloads; }
    int value = 0;
};
} // namespace

class Registry : public LanternaTest {};

TEST_F(Registry, TouchLoadsOnceHideKeepsUnloadStartsAfresh)
{
    loads = unloads = 0;
    EXPECT_EQ(forms::loaded<Probe>(), nullptr);
    Probe *p = forms::touch<Probe>();
    EXPECT_EQ(loads, 1);
    p->value = 7;
    EXPECT_EQ(forms::touch<Probe>(), p);
    EXPECT_EQ(loads, 1);
    forms::hide<Probe>();
    EXPECT_EQ(forms::touch<Probe>()->value, 7);

    QPointer<Probe> old(p);
    forms::unload<Probe>();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(forms::loaded<Probe>(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(old.isNull());
    EXPECT_EQ(forms::touch<Probe>()->value, 0);
    EXPECT_EQ(loads, 2);
    forms::unload<Probe>();
    forms::unload<Probe>(); // a second unload is a no-op
    EXPECT_EQ(unloads, 2);
}

TEST_F(Registry, CloseBoxUnloads)
{
    unloads = 0;
    Probe *p = forms::touch<Probe>();
    p->show();
    p->close();
    EXPECT_EQ(unloads, 1);
    EXPECT_EQ(forms::loaded<Probe>(), nullptr);
}

TEST_F(Registry, ModalWaitEndsWhenTheWindowHidesOrTheProgramEnds)
{
    Probe *p = forms::touch<Probe>();
    QTimer::singleShot(0, p, [p] { p->hide(); });
    p->showModal();
    EXPECT_FALSE(p->isVisible());
    EXPECT_EQ(p->windowModality(), Qt::NonModal);

    QTimer::singleShot(0, [] { QCoreApplication::exit(0); });
    p->showModal(); // returns instead of waiting for a hide that never comes
    EXPECT_TRUE(p->isVisible());
}

// At file scope: the macro declares the resource's function where it stands.
static void loadProgramResources() { Q_INIT_RESOURCE(app); }

// The start's own look: the window icon in every usual size without the SVG libraries,
// and the toolbar's overflow picture drawn while the style's others stay its own.
TEST(OwnLook, WindowIconInEverySizeAndEveryStylePictureThere)
{
    loadProgramResources();
    startup::useOwnLook();
    const QIcon icon = QApplication::windowIcon();
    for (int size : {16, 24, 32, 48, 64, 128}) {
        const QPixmap pm = icon.pixmap(size, size);
        ASSERT_EQ(pm.size(), QSize(size, size));
        // The lantern is drawn in the middle: not a blank picture.
        EXPECT_GT(qAlpha(pm.toImage().pixel(size / 2, size / 2)), 0) << size;
    }
    QStyle *style = QApplication::style();
    for (auto which : {QStyle::SP_ToolBarHorizontalExtensionButton, QStyle::SP_ToolBarVerticalExtensionButton,
                       QStyle::SP_DirIcon, QStyle::SP_FileIcon, QStyle::SP_MessageBoxWarning})
        EXPECT_FALSE(style->standardIcon(which).pixmap(16, 16).isNull()) << int(which);
}
