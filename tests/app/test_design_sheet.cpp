// Every window and control that has a caption or a place on the design sheet.
#include "BoxHelpers.h"
#include "RewriteHelpers.h"
#include "editor/Colore.h"
#include "editor/Form1.h"
#include "editor/Form2.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "favorites/frmFav.h"
#include "iemanager/Test_URL.h"
#include "platform/Twips.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QGroupBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>

#include <memory>

using platform::twipsRect;

namespace {

QString caption(const QWidget *w)
{
    if (w->isWindow())
        return w->windowTitle();
    if (auto *b = qobject_cast<const QAbstractButton *>(w))
        return b->text();
    if (auto *l = qobject_cast<const QLabel *>(w))
        return l->text();
    if (auto *g = qobject_cast<const QGroupBox *>(w))
        return g->title();
    return QStringLiteral("?");
}

} // namespace

class DesignSheet : public RewriteTest {};

TEST_F(DesignSheet, EveryCaptionAndPlace)
{
    Form1 *f1 = forms::Form1();
    Form2 *m = forms::Form2();
    Form3 *f3 = forms::Form3();
    Form4 *f4 = forms::Form4();
    // The caption and the link window start alike: the list of sizes, the colours, nothing ticked.
    const auto startsAlike = [](auto *f) {
        EXPECT_EQ(boxEntries(f->Combo1), QStringList({"H0 - Titoli", "H1 - Scrittura 1", "H2 - Scrittura 2",
                                                      "H3 - Scrittura 3", "H4 - Scrittura 4", "H5 - Scrittura 5",
                                                      "H6 - Scrittura 6"}));
        EXPECT_EQ(f->Combo1->currentText(), QStringLiteral("H2 - Scrittura 2"));
        EXPECT_TRUE(f->Option2[0]->isChecked());
        EXPECT_FALSE(f->Check1->isChecked() || f->Check2->isChecked());
        EXPECT_EQ(f->Text2[0]->text() + f->Text2[1]->text(), QStringLiteral("#FFFF80#000080"));
    };
    startsAlike(f3);
    startsAlike(f4);
    f3->Command3[0]->click();
    ::Colore *c = forms::loaded<::Colore>();
    ASSERT_NE(c, nullptr);
    frmFav *fav = forms::frmFav();
    Test_URL *ie = forms::Test_URL();
    const auto b = std::make_unique<frmBrowser>(); // built, not loaded

    const QRect any;
    const struct {
        const char *window;
        QWidget *control;
        const char *caption; // nullptr: none to check
        QRect rect;          // a window: its size; invalid: none to check
    } sheet[] = {
        {"frmBrowser", b.get(), nullptr, twipsRect(0, 0, 11595, 7500)},
        {"frmBrowser", b->tbToolBar, nullptr, twipsRect(30, 0, 2820, 510)},
        {"frmBrowser", b->picAddress, nullptr, twipsRect(0, 0, 11595, 675)},
        {"frmBrowser", b->brwWebBrowser, nullptr, twipsRect(75, 690, 5400, 3735)},
        {"frmBrowser", b->StatusBar1, nullptr, twipsRect(0, 7215, 11595, 285)},
        {"frmBrowser", b->Command1, " Modifica    pagina", twipsRect(2850, 0, 870, 495)},
        {"frmBrowser", b->Command2, "Vedo Storia", twipsRect(10575, 0, 990, 315)},
        {"frmBrowser", b->Command3, "Vedo Link Preferiti", twipsRect(5520, 315, 1485, 315)},
        {"frmBrowser", b->Command4, "Vedo finestre IE aperte", twipsRect(7005, 315, 1875, 315)},
        {"frmBrowser", b->Command5, "Varia storia", twipsRect(8880, 315, 975, 315)},
        {"frmBrowser", b->Command6, "ID", twipsRect(9855, 315, 525, 315)},
        {"frmBrowser", b->Command7, "Copia Address", twipsRect(10395, 315, 1200, 315)},
        {"frmBrowser", b->Command8[0], "Tin", twipsRect(45, 495, 465, 195)},
        {"frmBrowser", b->Command8[1], "Libero/wind", twipsRect(510, 495, 960, 195)},
        {"frmBrowser", b->Command8[2], "Tiscali", twipsRect(1470, 495, 580, 195)},
        {"frmBrowser", b->Command8[3], "Ciaoweb", twipsRect(2055, 495, 750, 195)},
        {"frmBrowser", b->Command8[4], "Antivirus", twipsRect(2805, 510, 720, 195)},
        {"frmBrowser", b->Command8[5], "..", twipsRect(3525, 510, 240, 195)},
        {"frmBrowser", b->lblAddress, "&Address:", any},
        {"frmBrowser", b->Check1, "Elimina domande", twipsRect(3825, 285, 1680, 195)},
        {"frmBrowser", b->Check2, "Elimina Win PopUp", twipsRect(3825, 495, 1680, 195)},
        {"Form1", f1, "Selezione colore di sfondo della pagina", any},
        {"Form1", f1->Label1, "Nome immagine di sfondo :", any},
        {"Form1", f1->cmdSFOGLIA, "Sfoglia ...", any},
        {"Form1", f1->cmdCONFERMA, "Conferma", any},
        {"Form1", f1->cmdUSCITA, "Annulla / Uscita", any},
        {"Form2", m, "Menu possibili modifiche", any},
        {"Form2", m->Command1, "Modifica sfondo della pagina", any},
        {"Form2", m->Command2, "Crea una scritta", any},
        {"Form2", m->Command4, "Collega un'altra pagina", any},
        {"Form2", m->Command3, "F I N E", any},
        {"Form3", f3, "Creazione di una nuova scritta", any},
        {"Form3", f3->Label1, "Testo scritta :", any},
        {"Form3", f3->Label2, "Grandezza testo :", any},
        {"Form3", f3->Frame1, "Tipo scritta", any},
        {"Form3", f3->Option1[0], "Normale", any},
        {"Form3", f3->Option1[1], "Scorrevole", any},
        {"Form3", f3->Frame2, "Allineamento", any},
        {"Form3", f3->Option2[0], "Allinea a sinistra   I.....        I", any},
        {"Form3", f3->Option2[1], "Allinea in centro   I    .....    I", any},
        {"Form3", f3->Option2[2], "Allinea a destra    I        .....I", any},
        {"Form3", f3->Frame3, "Tipo scrittura", any},
        {"Form3", f3->Check1, "Grassetto", any},
        {"Form3", f3->Check2, "Corsivo", any},
        {"Form3", f3->Label3[0], "Colore testo :", any},
        {"Form3", f3->Label3[1], "Colore sfondo:", any},
        {"Form3", f3->Command3[0], "...", any},
        {"Form3", f3->Command3[1], "...", any},
        {"Form3", f3->Command1, "Conferma", any},
        {"Form3", f3->Command2, "Annulla", any},
        {"Form4", f4, "Creazione collegamento ad altra pagina .HTML ", any},
        {"Form4", f4->Label1, "Testo scritta :", any},
        {"Form4", f4->Label4, "Pagina collegata:", any},
        {"Form4", f4->Command4, "...", any},
        {"Form4", f4->Label2, "Grandezza testo :", any},
        {"Form4", f4->Frame2, "Allineamento", any},
        {"Form4", f4->Label3[0], "Colore testo :", any},
        {"Form4", f4->Label3[1], "Colore sfondo:", any},
        {"Form4", f4->Command1, "Conferma", any},
        {"Form4", f4->Command2, "Annulla", any},
        {"Colore", c, "RICERCA COLORE DESIDERATO  RGB(R,G,B)", any},
        {"Colore", c->Label7, "Luminosita'", any},
        {"frmFav", fav, "Internet Preferiti", any},
        {"frmFav", fav->Command1, "F i n e", any},
        {"Test_URL", ie, "Elenco finestre Internet Explorer attive", twipsRect(0, 0, 6285, 3510)},
        {"Test_URL", ie->List1, nullptr, twipsRect(90, 90, 6090, 2790)},
        {"Test_URL", ie->Command1, "Aggiorna elenco", any},
        {"Test_URL", ie->Command2, "Info ?", any},
        {"Test_URL", ie->Command3, "F I N E", any},
        {"Test_URL", ie->Command4, "Cancella tutte le finestre IE", twipsRect(990, 3015, 2265, 390)},
    };
    for (const auto &row : sheet) {
        const QWidget *w = row.control;
        const std::string where = std::string(row.window) + " " + (row.caption ? row.caption : "");
        if (row.caption)
            EXPECT_EQ(caption(w), QString::fromUtf8(row.caption)) << where;
        if (row.rect.isValid())
            EXPECT_EQ(w->isWindow() ? w->rect() : w->geometry(), row.rect) << where;
    }
}
