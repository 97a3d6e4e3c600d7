#include "editor/Form2.h"

#include "base/BrowserHost.h"
#include "base/forms.h"
#include "editor/BringForward.h"
#include "editor/EditorWindows.h"
#include "editor/Form1.h"
#include "editor/Form3.h"
#include "editor/Form4.h"
#include "platform/Twips.h"

#include <QPushButton>

namespace {

QPushButton *button(QWidget *parent, const QString &text, const QRect &r)
{
    auto *b = new QPushButton(text, parent);
    b->setGeometry(r);
    return b;
}

} // namespace

Form2::Form2() : Form(editorwindows::owner())
{
    using platform::twipsRect;
    setWindowTitle(QStringLiteral("Menu possibili modifiche"));
    setFixedSize(platform::px(4560), platform::px(2760));

    Command1 = button(this, QStringLiteral("Modifica sfondo della pagina"), twipsRect(240, 180, 4080, 495));
    Command2 = button(this, QStringLiteral("Crea una scritta"), twipsRect(240, 780, 4080, 495));
    Command4 = button(this, QStringLiteral("Collega un'altra pagina"), twipsRect(240, 1380, 4080, 495));
    Command3 = button(this, QStringLiteral("F I N E"), twipsRect(2760, 2100, 1560, 435));

    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    // A menu has nothing to confirm: Enter presses the focused choice, Escape ends.
    editorwindows::dialogKeys(this, nullptr, Command3);
}

void Form2::Form_Load()
{
    if (BrowserHost *browser = forms::loadedBrowser())
        editorwindows::placeNear(this, browser->editButton());
}

void Form2::Command1_Click() { editorwindows::openNear<::Form1>(Command1)->showModal(); }

void Form2::Command2_Click() { bringForward(editorwindows::openNear<::Form3>(Command2)); }

void Form2::Command4_Click() { bringForward(editorwindows::openNear<::Form4>(Command4)); }

void Form2::Command3_Click() { close(); }
