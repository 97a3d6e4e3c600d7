#include "favorites/frmFav.h"

#include "base/BrowserHost.h"
#include "base/forms.h"
#include "favorites/FavoritesWalk.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Twips.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QTimer>
#include <QTreeWidget>

namespace {

const QString kLoadFailText = QStringLiteral(" Non trovo la directory preferiti! ")
                              + QStringLiteral("Questo programma richiede MicroSoft Internet ")
                              + QStringLiteral("Explorer installato. Il programma verra chiuso!");
const QString kLoadFailTitle = QStringLiteral("Errore di accesso");
const QString kRefreshFailText = QStringLiteral(" Non trovo ila cartella preferiti ")
                                 + QStringLiteral("Richiesto Microsoft's Internet ")
                                 + QStringLiteral("Explorer Installato!");
const QString kRefreshFailTitle = QStringLiteral("Errore");

constexpr int kMinWidth = 1000;
constexpr int kMinHeight = 2000;


// A size set to `snap` twips measures a whole number of pixels, a little more or
// less than asked; read such a size back as the value it was set to, so a window
// snapped to its minimum keeps the minimum's layout.
int toTwips(int pixels, int snap) { return pixels == platform::px(snap) ? snap : platform::twips(pixels); }

QPixmap standardImage(const QStyle *style, QStyle::StandardPixmap which)
{
    return style->standardIcon(which).pixmap(16, 16);
}

} // namespace

FavLayout FavResizeRule(int windowWidth, int windowHeight)
{
    FavLayout l{windowWidth, windowHeight, 0, 0};
    if (windowWidth > kMinWidth) {
        l.treeWidth = windowWidth - 200;
    } else {
        l.windowWidth = kMinWidth;
        l.treeWidth = kMinWidth;
    }
    if (windowHeight > kMinHeight) {
        l.treeHeight = windowHeight - 700;
    } else {
        l.windowHeight = kMinHeight;
        l.treeHeight = 1300;
    }
    return l;
}

frmFav::frmFav()
{
    setWindowTitle(QStringLiteral("Internet Preferiti"));
    resize(platform::px(6420), platform::px(4845));
    createImages();
    createControls();
    createMenus();
    nodes_ = std::make_unique<FavoritesTreeWidget>(TreeView1, &ImageList1);
}

frmFav::~frmFav() = default;

void frmFav::createImages()
{
    ImageList1.add(QStringLiteral("CloseFolder"), standardImage(style(), QStyle::SP_DirClosedIcon));
    ImageList1.add(QStringLiteral("OpenFolder"), standardImage(style(), QStyle::SP_DirOpenIcon));
    ImageList1.add(QStringLiteral("URL"), standardImage(style(), QStyle::SP_FileLinkIcon));
}

void frmFav::createControls()
{
    Check1 = new QCheckBox(QStringLiteral("Mette tutte sotto-cartelle al primo livello"), this);
    Check1->setGeometry(platform::twipsRect(75, 30, 3090, 225));
    Check1->setChecked(false);
    Check1->setVisible(false);

    Check2 = new QCheckBox(QStringLiteral("Ordina cartelle"), this);
    Check2->setGeometry(platform::twipsRect(3195, 30, 1380, 225));
    Check2->setChecked(true);
    Check2->setVisible(false);

    Command1 = new QPushButton(QStringLiteral("F i n e"), this);
    Command1->setGeometry(platform::twipsRect(5385, 0, 975, 270));
    connect(Command1, &QPushButton::clicked, this, [this] { Command1_Click(); });

    TreeView1 = new QTreeWidget(this);
    TreeView1->setGeometry(platform::twipsRect(45, 270, 6315, 4560));
    TreeView1->setColumnCount(1);
    TreeView1->header()->hide();
    TreeView1->setIconSize(QSize(16, 16));
    TreeView1->setRootIsDecorated(true);
    TreeView1->setUniformRowHeights(true);
    TreeView1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    TreeView1->setSortingEnabled(false);
    TreeView1->installEventFilter(this);
    connect(TreeView1, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem *item, int) { TreeView1_NodeClick(nodes_->nodeOf(item)); });
}

void frmFav::createMenus()
{
    mnuPopupFav = new QMenu(QStringLiteral("FavMenu"), this);
    mnuOpen = mnuPopupFav->addAction(QStringLiteral("Open"));
    mnuExit = mnuPopupFav->addAction(QStringLiteral("Exit"));
    connect(mnuOpen, &QAction::triggered, this, [this] { mnuOpen_Click(); });
    connect(mnuExit, &QAction::triggered, this, [this] { mnuExit_Click(); });

    mnuPopupURL = new QMenu(QStringLiteral("URLMenu"), this);
    mnuOpenSite = mnuPopupURL->addAction(QStringLiteral("Open Site"));
    mnuOpenSiteNew = mnuPopupURL->addAction(QStringLiteral("Open Site (New Window)"));
    mnuOrganize = mnuPopupURL->addAction(QStringLiteral("Organize"));
    mnuCancel = mnuPopupURL->addAction(QStringLiteral("Cancel"));
    connect(mnuOpenSite, &QAction::triggered, this, [this] { mnuOpenSite_Click(); });
    connect(mnuOpenSiteNew, &QAction::triggered, this, [this] { mnuOpenSiteNew_Click(); });
    connect(mnuOrganize, &QAction::triggered, this, [this] { mnuOrganize_Click(); });
    connect(mnuCancel, &QAction::triggered, this, [this] { mnuCancel_Click(); });
}

bool frmFav::BuildFavoritesTree(const QString &failText, const QString &failTitle)
{
    Favorites::Walk walk(*nodes_, Check1->isChecked());
    nodes_->hold();
    const bool found = walk.BuildFavoritesTree(failText, failTitle);
    nodes_->release();
    return found;
}

void frmFav::Form_Load()
{
    platform::ui().setWaitCursor(true);
    TreeView1->setSortingEnabled(false);
    move(platform::px(2910), platform::px(1170));
    if (Favorites::TreeBuilt == 0) {
        Favorites::TreeBuilt = 1;
        if (!BuildFavoritesTree(kLoadFailText, kLoadFailTitle))
            return; // the program is ending
    }
    show();
    platform::ui().setWaitCursor(false);
}

void frmFav::Form_Activate()
{
    platform::ui().setWaitCursor(false);
    TreeView1->setFocus();
}

void frmFav::Form_Resize()
{
    if (isMinimized())
        return;
    // The rule speaks of the whole window, frame included, as the classic Width does.
    const QRect frame = frameGeometry();
    const int extraW = frame.width() - width();
    const int extraH = frame.height() - height();
    const FavLayout l = FavResizeRule(toTwips(frame.width(), kMinWidth), toTwips(frame.height(), kMinHeight));
    const QSize outer(platform::px(l.windowWidth), platform::px(l.windowHeight));
    if (outer != frame.size())
        resize(outer.width() - extraW, outer.height() - extraH);
    TreeView1->resize(platform::px(l.treeWidth), platform::px(l.treeHeight));
}

void frmFav::Form_Unload() { Favorites::TreeBuilt = 0; }

void frmFav::Command1_Click() { hide(); }

void frmFav::mnuOpen_Click() {}

void frmFav::mnuExit_Click() { hide(); }

void frmFav::mnuCancel_Click() {}

void frmFav::TreeView1_KeyPress(int KeyAscii)
{
    if (KeyAscii == 116) // lower-case t only
        BuildFavoritesTree(kRefreshFailText, kRefreshFailTitle);
}

void frmFav::TreeView1_NodeClick(const FavNodeRef &Node)
{
    if (!Node || Node->key.right(4) != QLatin1String("_URL"))
        return;
    Favorites::LastNode = Node;
    platform::ui().popupMenu(mnuPopupURL);
}

void frmFav::mnuOpenSite_Click()
{
    const QString address = Favorites::LastNode ? Favorites::LastNode->tag : QString();
    if (BrowserHost *b = forms::browser())
        b->openAddress(address);
    hide();
}

void frmFav::mnuOpenSiteNew_Click()
{
    platform::Files &files = platform::files();
    const QString folder = files.programFolder();
    const QString temp = files.dataFile(QStringLiteral("temphtm.HTM"));
    // Only there so the association of its type can be asked.
    files.writeAll(temp, QByteArrayLiteral("\"<HTML> <\\HTML>\"\r\n"));
    if (platform::shell().findExecutable(temp) <= 32) {
        platform::ui().MsgBox(QStringLiteral("nessun Browser associato"), platform::vbOKOnly | platform::vbExclamation,
                              QStringLiteral("Browser Non trovato"));
    } else {
        const QString address = Favorites::LastNode ? Favorites::LastNode->tag : QString();
        const QString program = folder + QLatin1Char('\\') + files.exeName();
        // The address is one argument, never read by a shell.
        if (platform::processes().start(program, QStringList{address})) {
            platform::ui().beep();
            platform::ui().MsgBox(QStringLiteral("Non trovo il programma  LANTERNA.EXE  !!!"), platform::vbOKOnly);
        }
    }
    files.removeFile(temp);
}

void frmFav::mnuOrganize_Click()
{
    platform::shell().organizeFavorites(this, Favorites::GetSpecialFolder(Favorites::CSIDL_FAVORITES));
}

void frmFav::setVisible(bool visible)
{
    if (visible && isVisible()) {
        // A minimised window stays so here: showMinimized() comes this way too.
        if (!isMinimized()) {
            raise();
            activateWindow();
        }
        // Nothing is built on this path: the hourglass of the caller goes at once,
        // even where the desktop does not hand the focus over.
        platform::ui().setWaitCursor(false);
    }
    Form::setVisible(visible);
}

bool frmFav::event(QEvent *e)
{
    if (e->type() == QEvent::WindowActivate)
        Form_Activate();
    return Form::event(e);
}

void frmFav::resizeEvent(QResizeEvent *e)
{
    Form::resizeEvent(e);
    Form_Resize();
}

bool frmFav::eventFilter(QObject *watched, QEvent *e)
{
    if (watched == TreeView1 && e->type() == QEvent::KeyPress) {
        const QString text = static_cast<QKeyEvent *>(e)->text();
        if (!text.isEmpty())
            TreeView1_KeyPress(text.at(0).unicode());
        // Not consumed: the tree still gets the key.
    }
    return Form::eventFilter(watched, e);
}
