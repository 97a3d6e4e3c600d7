#include "browser/frmBrowser.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressListModel.h"
#include "browser/AddressRules.h"
#include "browser/ClearSiteData.h"
#include "browser/LogReading.h"
#include "browser/ToolbarIcons.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"
#include "platform/Files.h"
#include "platform/Processes.h"
#include "platform/Services.h"
#include "platform/SingleLine.h"
#include "platform/Twips.h"
#include "platform/Ui.h"
#include "platform/WebBrowser.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPushButton>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

using platform::px;
using platform::twips;
using platform::twipsRect;

namespace {

// A classic command button wraps a caption that does not fit on one line
// (" Modifica    pagina" on a narrow, two-line-high button).
class WrappingButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        const QString caption = opt.text;
        opt.text.clear();
        p.drawControl(QStyle::CE_PushButton, opt);
        const QRect r = style()->subElementRect(QStyle::SE_PushButtonContents, &opt, this);
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(r, Qt::AlignCenter | Qt::TextWordWrap, caption.trimmed());
    }
};

// The shortcut row's thin, flat buttons, drawn here rather than by a style sheet,
// which would bring the whole style sheet machinery into every start.
class ShortcutButton : public QPushButton {
public:
    ShortcutButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent)
    {
        setAttribute(Qt::WA_Hover);
    }

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::HoverEnter || e->type() == QEvent::HoverLeave)
            update();
        return QPushButton::event(e);
    }
    void paintEvent(QPaintEvent *) override
    {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        const QPalette &pal = palette();
        const QColor fill = isDown()       ? pal.color(QPalette::Midlight)
                            : underMouse() ? pal.color(QPalette::Light)
                                           : pal.color(QPalette::Button);
        p.setPen(pal.color(hasFocus() ? QPalette::Highlight : QPalette::Mid));
        p.setBrush(fill);
        p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
        p.setPen(pal.color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        p.drawText(rect(), Qt::AlignCenter | Qt::TextShowMnemonic, text());
    }
};

// The two switches are 13 pixels high and 112 wide: a smaller box and gap leave their
// whole captions room. Drawn here: a style of their own would be a second style.
class SmallSwitch : public QCheckBox {
public:
    using QCheckBox::QCheckBox;
    QSize sizeHint() const override
    {
        const QFontMetrics fm(font());
        return {kBox + kGap + fm.horizontalAdvance(text()), std::max(kBox, fm.height())};
    }
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    bool hitButton(const QPoint &pos) const override { return rect().contains(pos); }
    void paintEvent(QPaintEvent *) override
    {
        QStylePainter p(this);
        QStyleOptionButton opt;
        initStyleOption(&opt);
        opt.rect = QRect(0, (height() - kBox) / 2, kBox, kBox);
        p.drawPrimitive(QStyle::PE_IndicatorCheckBox, opt);
        const QRect textRect = rect().adjusted(kBox + kGap, 0, 0, 0);
        p.drawItemText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic, palette(), isEnabled(),
                       text(), QPalette::WindowText);
        if (hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = p.fontMetrics().boundingRect(textRect, Qt::AlignLeft | Qt::AlignVCenter, text());
            p.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
    }

private:
    static constexpr int kBox = 9;
    static constexpr int kGap = 3;
};

// Where Home leads: the home page Main settled on when it can be read, else the
// fixed home page folders, else a blank page.
QString homePageAddress()
{
    QStringList candidates;
    if (!Module1::HomePageDir.isEmpty())
        candidates << Module1::HomePageDir + QStringLiteral("INIZIO.HTM");
    candidates << QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM") << QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM");
    for (const QString &c : candidates)
        if (platform::files().canOpenForRead(c))
            return c;
    return QStringLiteral("about:blank");
}

const QString kSearchPage = QStringLiteral("https://duckduckgo.com/");

} // namespace

frmBrowser::frmBrowser()
{
    // The engine first: its processes start up while the rest of the window is built.
    brwWebBrowser = platform::services().makeBrowser(this);
    brwWebBrowser->setGeometry(twipsRect(75, 690, 5400, 3735));
    brwWebBrowser->setSearchPage(kSearchPage);
    createAddressStrip();
    createToolBar();
    connectBrowser();

    createStatusBar();
    createShortcuts();
    addClearSiteDataAction(this);

    timTimer = new QTimer(this);
    timTimer->setInterval(1000);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);

    logReading_ = std::make_unique<LogReading>();
    logJoin_ = new QTimer(this);
    logJoin_->setSingleShot(true);
    connect(logJoin_, &QTimer::timeout, this, &frmBrowser::visitedLogTimeout);

    // Design client area. Narrower, buttons of the strip would be out of reach; lower,
    // the page would have no room between the strip and the status bar.
    resize(px(11595), px(7500));
    setMinimumSize(px(11595), px(675 + 1500 + 285));
    dockBars();
}

frmBrowser::~frmBrowser() = default;

void frmBrowser::createToolBar()
{
    imlIcons = toolbarIcons();
    static const char *const keys[] = {"Back", "Forward", "Stop", "Refresh", "Home", "Search"};

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setMovable(false);
    tbToolBar->setFloatable(false);
    tbToolBar->setIconSize(QSize(24, 24));
    tbToolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tbToolBar->setContentsMargins(0, 0, 0, 0);
    if (QLayout *l = tbToolBar->layout()) {
        l->setContentsMargins(0, 0, 0, 0);
        l->setSpacing(0);
    }
    for (std::size_t i = 0; i < imlIcons.size(); ++i) {
        const QString key = QString::fromLatin1(keys[i]);
        QAction *a = tbToolBar->addAction(imlIcons[i], key);
        a->setObjectName(key);
        a->setData(key);
        a->setToolTip(key);
        // Six buttons share the design width of 2820 twips, with no overflow arrow.
        if (QWidget *b = tbToolBar->widgetForAction(a))
            b->setFixedSize(px(2820) / 6, px(2820) / 6);
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this,
            [this](QAction *a) { tbToolBar_ButtonClick(a->data().toString()); });
    tbToolBar->setGeometry(twipsRect(30, 0, 2820, 510));
    tbToolBar->raise();
}

void frmBrowser::createAddressStrip()
{
    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    picAddress->setGeometry(twipsRect(0, 0, 11595, 675));
    // The strip's rows are 13 pixels high: a small font keeps the captions readable.
    QFont small = picAddress->font();
    small.setPixelSize(11);
    picAddress->setFont(small);

    auto button = [this](const QString &caption, QRect r) {
        auto *b = new QPushButton(caption, picAddress);
        b->setGeometry(r);
        return b;
    };

    Command1 = new WrappingButton(QStringLiteral(" Modifica    pagina"), picAddress);
    Command1->setGeometry(twipsRect(2850, 0, 870, 495));

    lblAddress = new QLabel(QStringLiteral("&Address:"), picAddress);
    lblAddress->setGeometry(twipsRect(3735, 15, 795, 255));
    lblAddress->installEventFilter(this);

    cboAddress = new QComboBox(picAddress);
    addressList_ = new AddressListModel(cboAddress);
    cboAddress->setModel(addressList_);
    // The box also "activates" an entry when typed text that matches one is confirmed
    // or loses the focus; only a pick from the list is the address action, so that
    // activation is told apart by the edit's own signal, which brackets the box's.
    auto *edit = new QLineEdit(cboAddress);
    connect(edit, &QLineEdit::editingFinished, this, [this] { editFinishing_ = true; });
    cboAddress->setLineEdit(edit);
    platform::keepSingleLine(edit);
    connect(edit, &QLineEdit::editingFinished, this, [this] { editFinishing_ = false; });
    connect(edit, &QLineEdit::textEdited, this, [this](const QString &text) { typedAddress_ = text; });
    // The list grows only where the program says so, never from the Enter key.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    cboAddress->setCompleter(nullptr);
    cboAddress->setDuplicatesEnabled(true);
    // Measuring every entry (a log line can be very long) would make each insertion slow.
    cboAddress->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    // Likewise opening the list: entries are one line each, so none needs measuring.
    if (auto *list = qobject_cast<QListView *>(cboAddress->view()))
        list->setUniformItemSizes(true);
    cboAddress->setMinimumContentsLength(1);
    cboAddress->setEditText(QStringLiteral("cboAddress"));
    cboAddress->setGeometry(twipsRect(4545, -15, 3360, 315));
    // The box, not its edit, holds the focus: it takes the keyboard's keys and hands
    // them to the edit by a direct call that no filter on the edit sees.
    cboAddress->installEventFilter(this);
    lblAddress->setBuddy(cboAddress);
    connect(cboAddress, &QComboBox::activated, this, [this](int) {
        if (!editFinishing_)
            cboAddress_Click();
    });

    Command2 = button(QStringLiteral("Vedo Storia"), twipsRect(10575, 0, 990, 315));
    Command2->setVisible(false);

    Check1 = new SmallSwitch(QStringLiteral("Elimina domande"), picAddress);
    Check1->setGeometry(twipsRect(3825, 285, 1680, 195));
    Check1->setChecked(true);

    Command3 = button(QStringLiteral("Vedo Link Preferiti"), twipsRect(5520, 315, 1485, 315));
    Command4 = button(QStringLiteral("Vedo finestre IE aperte"), twipsRect(7005, 315, 1875, 315));
    Command5 = button(QStringLiteral("Varia storia"), twipsRect(8880, 315, 975, 315));
    Command6 = button(QStringLiteral("ID"), twipsRect(9855, 315, 525, 315));
    Command7 = button(QStringLiteral("Copia Address"), twipsRect(10395, 315, 1200, 315));

    Check2 = new SmallSwitch(QStringLiteral("Elimina Win PopUp"), picAddress);
    Check2->setGeometry(twipsRect(3825, 495, 1680, 195));
    Check2->setChecked(true);

    static const char *const captions[] = {"Tin", "Libero/wind", "Tiscali", "Ciaoweb", "Antivirus", ".."};
    static const int lefts[] = {45, 510, 1470, 2055, 2805, 3525};
    static const int tops[] = {495, 495, 495, 495, 510, 510};
    static const int widths[] = {465, 960, 580, 750, 720, 240};
    // The shortcut row is 13 pixels high and runs past the strip's bottom edge: thin
    // frames and a slightly smaller font keep the captions whole.
    QFont row = small;
    row.setPixelSize(10);
    for (int i = 0; i < int(Command8.size()); ++i) {
        Command8[i] = new ShortcutButton(QString::fromLatin1(captions[i]), picAddress);
        Command8[i]->setGeometry(twipsRect(lefts[i], tops[i], widths[i], 195));
        Command8[i]->setFont(row);
        connect(Command8[i], &QPushButton::clicked, this, [this, i] { Command8_Click(i); });
    }

    connect(Command1, &QPushButton::clicked, this, &frmBrowser::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frmBrowser::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frmBrowser::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmBrowser::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmBrowser::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmBrowser::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmBrowser::Command7_Click);
    connect(Check2, &QCheckBox::clicked, this, &frmBrowser::Check2_Click);
}

void frmBrowser::createStatusBar()
{
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setObjectName(QStringLiteral("StatusBar1"));
    StatusPanel1 = new QLabel(StatusBar1);
    StatusPanel2 = new QLabel(StatusBar1);
    // Long status texts are cut, never widen the bar past the window.
    StatusPanel1->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    StatusPanel1->setMinimumWidth(1);
    StatusPanel2->setFixedWidth(px(2220));
    StatusBar1->addWidget(StatusPanel1, 1);
    StatusBar1->addWidget(StatusPanel2);
    StatusBar1->setGeometry(twipsRect(0, 7215, 11595, 285));
    statusPaint_ = new QTimer(this);
    statusPaint_->setSingleShot(true);
    statusPaint_->setInterval(150);
    connect(statusPaint_, &QTimer::timeout, this, [this] { StatusBar1->setUpdatesEnabled(true); });
}

// Every repaint of the window is a frame of the page's compositor, which software rendering
// draws whole (10 to 14 ms here). The engine's progress changes the texts several times a
// page: they change at once, and are painted together at most every 150 ms.
void frmBrowser::holdStatusPaint()
{
    if (!StatusBar1 || statusPaint_->isActive())
        return;
    StatusBar1->setUpdatesEnabled(false);
    statusPaint_->start();
}

void frmBrowser::connectBrowser()
{
    using B = platform::WebBrowser;
    const auto direct = Qt::DirectConnection;
    connect(brwWebBrowser, &B::StatusTextChange, this, &frmBrowser::brwWebBrowser_StatusTextChange, direct);
    connect(brwWebBrowser, &B::ProgressChange, this, &frmBrowser::brwWebBrowser_ProgressChange, direct);
    connect(brwWebBrowser, &B::DownloadBegin, this, &frmBrowser::brwWebBrowser_DownloadBegin, direct);
    connect(brwWebBrowser, &B::DownloadComplete, this, &frmBrowser::brwWebBrowser_DownloadComplete, direct);
    connect(brwWebBrowser, &B::TitleChange, this, &frmBrowser::brwWebBrowser_TitleChange, direct);
    connect(brwWebBrowser, &B::BeforeNavigate2, this, &frmBrowser::brwWebBrowser_BeforeNavigate2, direct);
    connect(brwWebBrowser, &B::NewWindow2, this, &frmBrowser::brwWebBrowser_NewWindow2, direct);
    connect(brwWebBrowser, &B::NavigateComplete2, this, &frmBrowser::brwWebBrowser_NavigateComplete2, direct);
    connect(brwWebBrowser, &B::DocumentComplete, this, &frmBrowser::brwWebBrowser_DocumentComplete, direct);
    connect(brwWebBrowser, &B::FileDownload, this, &frmBrowser::brwWebBrowser_FileDownload, direct);
}

void frmBrowser::dockBars()
{
    if (picAddress)
        picAddress->setGeometry(0, picAddress->y(), width(), picAddress->height());
    if (StatusBar1) {
        const int h = px(285);
        StatusBar1->setGeometry(0, std::max(0, height() - h), width(), h);
    }
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (cboAddress && watched == cboAddress) {
        switch (event->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
            joinVisitedLog(); // the box's list opens or steps through its entries
            break;
        case QEvent::FocusOut: {
            // Its own list opening, or another window, is not leaving the box.
            const auto reason = static_cast<QFocusEvent *>(event)->reason();
            if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
                typedAddress_.reset();
            break;
        }
        default:
            break;
        }
    }
    if (watched == lblAddress && event->type() == QEvent::MouseButtonDblClick) {
        lblAddress_DblClick();
        return true;
    }
    // A key sent to the edit itself reaches the box too when the edit leaves it
    // unused, as it does Enter; keys the edit uses (typing) are not the box's.
    if (cboAddress && watched == cboAddress && event->type() == QEvent::KeyPress) {
        const auto *k = static_cast<QKeyEvent *>(event);
        if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter)
            cboAddress_KeyPress(13);
        else if (!k->text().isEmpty())
            cboAddress_KeyPress(k->text().at(0).unicode());
        // The key goes on to the box unchanged.
    }
    return Form::eventFilter(watched, event);
}

QList<QWidget *> frmBrowser::tabOrder() const
{
    QList<QWidget *> order{brwWebBrowser, lblAddress, cboAddress, tbToolBar, picAddress, Command1, Check1,
                           Command2, Command3, Command4, Check2, Command5, Command6, Command7, StatusBar1};
    for (QPushButton *b : Command8)
        order << b;
    return order;
}

// Labels and bars cannot join the toolkit's focus chain, and the web view's inner widget
// is made only with the first page; so Tab follows the design's list here.
bool frmBrowser::focusNextPrevChild(bool next)
{
    const QList<QWidget *> order = tabOrder();
    QWidget *focus = QApplication::focusWidget();
    // The control holding the focus: the innermost of those that contain it.
    qsizetype at = -1;
    for (qsizetype i = 0; i < order.size() && focus; ++i) {
        QWidget *w = order[i];
        if (w && (w == focus || w->isAncestorOf(focus)) && (at < 0 || order[at]->isAncestorOf(w)))
            at = i;
    }
    if (at < 0)
        return Form::focusNextPrevChild(next);
    for (qsizetype n = 1; n < order.size(); ++n) {
        QWidget *w = order[(at + (next ? n : order.size() - n)) % order.size()];
        const bool takesFocus = w->focusProxy() || (w->focusPolicy() & Qt::TabFocus);
        if (takesFocus && w->isVisibleTo(this) && w->isEnabled()) {
            w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
            return true;
        }
    }
    return Form::focusNextPrevChild(next);
}

bool frmBrowser::event(QEvent *event)
{
    // The engine's view may replace the window's native window when it first draws a
    // page; the new one is mapped at the normal size unless asked again.
    if (keepMaximized_ && (event->type() == QEvent::WinIdChange || event->type() == QEvent::Show)) {
        QTimer::singleShot(0, this, [this] {
            if (keepMaximized_ && !isMaximized()) {
                setWindowState(windowState() | Qt::WindowMaximized);
                activateWindow();
            }
        });
    }
    return Form::event(event);
}

void frmBrowser::Form_Load()
{
    using Module1::StartUrl;
    Module1::AllowPopups = false;
    try {
        Form_Resize();
        brwWebBrowser->setHomePage(homePageAddress());
    } catch (...) {
    }

    // The first navigation falls back twice when the control refuses the address.
    // It is asked for before the window is shown: the engine then loads the page
    // while the window maps and paints, and its answers come through the event loop,
    // after the window is up.
    for (int n = 0;;) {
        bool failed = false;
        try {
            if (address::trimBlanks(StartUrl).isEmpty())
                StartUrl = QStringLiteral("about:blank");
            cboAddress->setEditText(StartUrl);
            cboAddress->addItem(cboAddress->currentText());
            timTimer->start();
            brwWebBrowser->Navigate(StartUrl);
        } catch (...) {
            failed = true;
        }
        if (!failed || n == 2)
            break;
        ++n;
        StartUrl = n == 1 ? QStringLiteral("D:\\HOME-PAG\\INIZIO.HTM") : QStringLiteral("C:\\WINDOWS\\VUOTA.HTM");
    }

    try {
        // A copy started by the program itself opens maximised with the focus.
        keepMaximized_ = platform::startedMaximized();
        if (keepMaximized_) {
            showMaximized();
            activateWindow();
        } else {
            show();
        }
    } catch (...) {
    }

    readVisitedLogLater();
}

void frmBrowser::Form_Resize()
{
    if (!cboAddress || !brwWebBrowser)
        return;
    const int W = twips(width());
    const int H = twips(height());

    const int X = twips(tbToolBar->width()) + 120 + twips(lblAddress->width()) + 400;
    lblAddress->move(px(twips(cboAddress->x()) - twips(lblAddress->width()) + 50), lblAddress->y());
    if (X + 600 < W)
        cboAddress->resize(px(W - (X + 600)), cboAddress->height());

    if (windowState() & Qt::WindowMinimized)
        return;

    brwWebBrowser->resize(px(std::max(0, W - 100)), brwWebBrowser->height());
    const int Y = twips(picAddress->height()) + twips(picAddress->y()) - 100;
    if (H - Y - 200 - 250 > 50)
        brwWebBrowser->resize(brwWebBrowser->width(), px(H - Y - 200 - 250));
}

void frmBrowser::resizeEvent(QResizeEvent *event)
{
    Form::resizeEvent(event);
    dockBars();
    Form_Resize();
    placeFindBar();
}

void frmBrowser::Form_Unload()
{
    joinVisitedLog(); // the question counts the whole list
    try {
        const int n = cboAddress->count();
        if (n != 1 && Module1::PageVisited != 0) {
            const int answer = platform::ui().MsgBox(
                QStringLiteral("Desideri registrare i Link dei Siti Internet visualizzati (S/N)"), platform::vbYesNo,
                QStringLiteral("Chiusura Lanterna"));
            if (QString::number(answer) == QLatin1String("6")) {
                ReadVisitedLog();
                WriteVisitedLog();
            }
        }
    } catch (...) {
    }

    try {
        forms::unload<::frmFav>();
        forms::unload<::Test_URL>();
        forms::unload<::Colore>();
        forms::unload<::Form1>();
        forms::unload<::Form2>();
        forms::unload<::Form3>();
        forms::unload<::Form4>();
    } catch (...) {
    }
    timTimer->stop();
    platform::ui().endProgram();
}
