#include "editor/Form1.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "editor/BackgroundRule.h"
#include "editor/EditorWindows.h"
#include "editor/PageRewrite.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/SingleLine.h"
#include "platform/Twips.h"
#include "platform/Ui.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QStyleOptionFocusRect>

// Resources of a static library are only linked in when something asks for them.
static void initEditorResources() { Q_INIT_RESOURCE(editor); }

namespace {

// The built-in pictures of places 0 to 4.
constexpr const char *kBuiltInPictures[Form1::kBuiltIn] = {
    ":/samples/terracotta.jpg", ":/samples/oliva.jpg", ":/samples/mare.jpg",
    ":/samples/limone.jpg",     ":/samples/lavanda.jpg",
};

QString trimBlanks(const QString &s)
{
    qsizetype b = 0, e = s.size();
    while (b < e && s[b] == QLatin1Char(' '))
        ++b;
    while (e > b && s[e - 1] == QLatin1Char(' '))
        --e;
    return s.mid(b, e - b);
}

// Design positions, in twips: ten tall strips along the top, two rectangles at their
// right (the second larger), one wide strip below across the window.
QRect samplePlace(int k)
{
    using platform::twipsRect;
    if (k < 10)
        return twipsRect(120 + k * 600, 120, 480, 2400);
    if (k == 10)
        return twipsRect(120, 2640, 9480, 720);
    if (k == 11)
        return twipsRect(6240, 120, 2160, 960);
    return twipsRect(6240, 1200, 3360, 1320);
}

} // namespace

ImageSample::ImageSample(QWidget *parent) : QLabel(parent)
{
    setScaledContents(true);
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setCursor(Qt::PointingHandCursor);
}

void ImageSample::keyPressEvent(QKeyEvent *event)
{
    const int key = event->key();
    if (key == Qt::Key_Space || key == Qt::Key_Return || key == Qt::Key_Enter) {
        emit clicked();
        return;
    }
    QLabel::keyPressEvent(event);
}

void ImageSample::paintEvent(QPaintEvent *event)
{
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    // A picture has no focus look of its own.
    QPainter painter(this);
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = rect().adjusted(2, 2, -2, -2);
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
}

void ImageSample::mouseReleaseEvent(QMouseEvent *event)
{
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit clicked();
}

Form1::Form1() : Form(editorwindows::owner())
{
    using platform::twipsRect;
    initEditorResources();
    setWindowTitle(QStringLiteral("Selezione colore di sfondo della pagina"));
    setFixedSize(platform::px(9720), platform::px(4860));

    for (int k = 0; k < kSamples; ++k) {
        Image1[k] = new ImageSample(this);
        Image1[k]->setGeometry(samplePlace(k));
        if (k < kBuiltIn)
            Image1[k]->setPixmap(QPixmap(QString::fromLatin1(kBuiltInPictures[k])));
        connect(Image1[k], &ImageSample::clicked, this, [this, k] { Image1_Click(k); });
    }

    Label1 = new QLabel(QStringLiteral("Nome immagine di sfondo :"), this);
    Label1->setGeometry(twipsRect(120, 3615, 2760, 285));
    Text1 = new QLineEdit(this);
    Text1->setGeometry(twipsRect(2940, 3570, 5100, 345));
    cmdSFOGLIA = new QPushButton(QStringLiteral("Sfoglia ..."), this);
    cmdSFOGLIA->setGeometry(twipsRect(8160, 3555, 1440, 375));
    cmdCONFERMA = new QPushButton(QStringLiteral("Conferma"), this);
    cmdCONFERMA->setGeometry(twipsRect(5640, 4200, 1680, 495));
    cmdUSCITA = new QPushButton(QStringLiteral("Annulla / Uscita"), this);
    cmdUSCITA->setGeometry(twipsRect(7440, 4200, 2160, 495));

    connect(cmdSFOGLIA, &QPushButton::clicked, this, &Form1::cmdSFOGLIA_Click);
    connect(cmdCONFERMA, &QPushButton::clicked, this, &Form1::cmdCONFERMA_Click);
    connect(cmdUSCITA, &QPushButton::clicked, this, &Form1::cmdUSCITA_Click);
    platform::keepSingleLine(Text1);
    // Enter in the name box (or anywhere a control lets it through) confirms.
    editorwindows::dialogKeys(this, cmdCONFERMA, cmdUSCITA);
    // The name box, not a sample that Enter would apply, has the focus at opening.
    Text1->setFocus();
}

void Form1::Form_Load()
{
    dialogFolder_ = Module1::HomePageDir;
    loadSamples();
    setCursor(Qt::ArrowCursor);
}

void Form1::loadSamples()
{
    auto &files = platform::files();
    const auto entries = files.list(Module1::HomePageDir + QStringLiteral("SF*.JPG"));
    if (!entries)
        return;
    int k = 0;
    for (const platform::DirEntry &e : *entries) {
        // Ordinary files only, as the classic listing without attributes gives them.
        if (e.attributes & (platform::AttrDirectory | platform::AttrHidden | platform::AttrSystem))
            continue;
        if (trimBlanks(e.name).isEmpty())
            break;
        if (k >= kSamples)
            break; // no place left for the others
        ImageSample *place = Image1[k++];
        place->Tag = e.name;
        // A place with a file behind it can be picked from the keyboard too.
        place->setFocusPolicy(Qt::StrongFocus);
        const auto bytes = files.readAll(Module1::HomePageDir + e.name);
        QPixmap picture;
        if (!bytes || !picture.loadFromData(*bytes))
            continue; // the place keeps what it showed
        // A large photo is kept at the size of its place, not at full size.
        place->setPixmap(picture.scaled(place->size() * 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    }
}

void Form1::Image1_Click(int Index)
{
    QString name;
    if (Index < 0) {
        name = trimBlanks(Text1->text());
    } else {
        if (Index >= kSamples)
            return;
        name = Image1[Index]->Tag;
        // A built-in picture has no file behind it: nothing to apply.
        if (name.isEmpty())
            return;
    }
    platform::ui().beep();
    ReplaceBackground(rewrite::backgroundImagePath(name, Module1::HomePageDir), this);
}

void Form1::cmdCONFERMA_Click()
{
    const QString name = trimBlanks(Text1->text());
    const QString path = rewrite::backgroundImagePath(name, Module1::HomePageDir);
    if (name.isEmpty() || !platform::files().canOpenForRead(path)) {
        platform::ui().beep();
        platform::ui().MsgBox(QStringLiteral("Immagine ") + path + QStringLiteral(" non trovata !!!"),
                              platform::vbOKOnly);
        return;
    }
    Image1_Click(-1);
    // Success has closed the window already; a failed rewrite closes it here.
    if (forms::loaded<Form1>() == this)
        close();
}

void Form1::cmdSFOGLIA_Click()
{
    // A bare file name opens in the start folder; a chosen file's path opens beside it.
    const QString start = rewrite::backgroundImagePath(dialogFileName_, dialogFolder_);
    const QString returned = platform::ui().openFileDialog(start, QStringLiteral("Ricerca immagini"),
                                                           QLatin1String(kImagePatterns));
    // Cancelling leaves the dialog's file name as it was, and that is what the box receives.
    if (returned != start)
        dialogFileName_ = returned;
    Text1->setText(dialogFileName_);
}

void Form1::cmdUSCITA_Click() { close(); }
