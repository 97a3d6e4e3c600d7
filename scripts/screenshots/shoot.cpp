// Takes the README's pictures: starts Lanterna on the demo drive (LANTERNA_DRIVE_C),
// opens its windows through their own buttons and saves what the screen shows.
#include "app/Main.h"
#include "app/Startup.h"
#include "base/forms.h"
#include "browser/FindBar.h"
#include "browser/frmBrowser.h"
#include "editor/Colore.h"
#include "editor/Form2.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"
#include "platform/WebBrowser.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QProcess>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

QString outDir;

bool waitFor(const std::function<bool()> &ready, int ms = 20000)
{
    QDeadlineTimer deadline(ms);
    while (!ready()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

void settle(int ms)
{
    QDeadlineTimer deadline(ms);
    while (!deadline.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
}

// The area is worked out once the window manager has placed and framed the windows.
void save(const std::function<QRect()> &where, const char *name)
{
    settle(900);
    const QRect area = where();
    const QPixmap shot = QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
    const QString file = outDir + QLatin1Char('/') + QLatin1String(name);
    std::printf("%s %s\n", shot.save(file) ? "saved" : "FAILED", qPrintable(file));
}

QRect around(std::initializer_list<QWidget *> windows)
{
    QRect r;
    for (QWidget *w : windows)
        r = r.united(w->frameGeometry());
    return r.adjusted(0, 0, 1, 1);
}

} // namespace

int main(int argc, char **argv)
{
    startup::prepareEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lanterna"));
    startup::useDesignFont();
    startup::speakItalian();
    outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs");
    startup::RealServices services;

    Main(QString());
    frmBrowser *b = forms::frmBrowser();
    b->move(0, 0);
    b->resize(900, 620);
    if (!waitFor([b] { return !b->timTimer->isActive() && b->windowTitle().endsWith(QLatin1String("INIZIO.HTM")); }))
        std::fputs("the home page did not finish loading\n", stderr);
    save([&] { return b->frameGeometry(); }, "browser.png");

    b->openFindBar();
    b->findBar->txtFind->setText(QStringLiteral("pagina"));
    waitFor([b] { return !b->findBar->lblCount->text().isEmpty(); });
    save([&] { return b->frameGeometry(); }, "find-bar.png");
    b->findBar->close();

    // The print dialog is modal: taken and closed from inside its own loop.
    QTimer::singleShot(500, b, [] {
        for (QWidget *w : QApplication::topLevelWidgets())
            if (auto *dialog = qobject_cast<QPrintDialog *>(w); dialog && dialog->isVisible()) {
                save([dialog] { return dialog->frameGeometry().adjusted(0, 0, 1, 1); }, "print-dialog.png");
                dialog->reject();
            }
    });
    b->printPage();

    b->Command3->click();
    frmFav *fav = forms::frmFav();
    for (QTreeWidgetItem *item : fav->TreeView1->findItems(QStringLiteral("*"), Qt::MatchWildcard | Qt::MatchRecursive))
        item->setExpanded(true);
    save([&] { return around({b, fav}); }, "favorites.png");
    fav->Command1->click();

    b->Command1->click();
    Form2 *menu = forms::Form2();
    menu->move(b->frameGeometry().right() - menu->width() - 20, 120);
    menu->Command2->click();
    Form3 *caption = forms::Form3();
    caption->move(40, 150);
    caption->Text1->setText(QStringLiteral("Buongiorno a tutti!"));
    save([&] { return around({menu, caption}); }, "editor.png");

    caption->Command3[0]->click();
    Colore *picker = forms::Colore();
    picker->move(caption->frameGeometry().right() + 10, 150);
    save([&] { return around({caption, picker}); }, "colour-picker.png");
    forms::unload<Colore>();
    forms::unload<Form3>();
    forms::unload<Form2>();

    // Two stand-ins for Internet Explorer, started once the page has loaded (a loading
    // page ends them).
    std::vector<std::unique_ptr<QProcess>> standIns;
    const QString ieCopy = qEnvironmentVariable("LANTERNA_SHOT_IEXPLORE");
    for (int i = 0; i < 2 && !ieCopy.isEmpty(); ++i) {
        standIns.push_back(std::make_unique<QProcess>());
        standIns.back()->start(ieCopy, {QStringLiteral("300")});
        standIns.back()->waitForStarted();
    }
    b->Command4->click();
    Test_URL *ie = forms::Test_URL();
    ie->move(120, 120);
    ie->Command1->click();
    save([&] { return around({b, ie}); }, "ie-window.png");
    for (auto &p : standIns)
        p->kill();
    for (auto &p : standIns)
        p->waitForFinished();
    ie->Command3->click();

    // The three changes of the editor, one after the other, on this copy of the home page.
    int documents = 0;
    QObject::connect(b->brwWebBrowser, &platform::WebBrowser::DocumentComplete, b, [&documents] { ++documents; });
    int seen = 0;
    const auto reloaded = [&] {
        waitFor([&] { return documents > seen; });
        seen = documents;
        waitFor([b] { return !b->timTimer->isActive(); }); // the tick that writes the caption
    };
    b->Command1->click();
    forms::Form2()->Command2->click();
    Form3 *title = forms::Form3();
    title->Text1->setText(QStringLiteral("Buongiorno a tutti!"));
    title->Option1[1]->click(); // scrolling
    title->Command1->click();
    reloaded();
    forms::Form2()->Command4->click();
    Form4 *link = forms::Form4();
    link->Text1->setText(QStringLiteral("Vai alle ricette"));
    link->txtPAG_COLLEGATA->setText(QStringLiteral("C:\\HOME-PAG\\SECONDA.HTM"));
    link->Option2[1]->click(); // centred
    link->Command1->click();
    reloaded();
    Form1 *background = forms::Form1();
    background->Image1[2]->setFocus();
    background->Image1_Click(2); // the third sample on the drive
    reloaded();
    forms::unload<Form2>();
    save([&] { return b->frameGeometry(); }, "edited.png");
    return 0;
}
