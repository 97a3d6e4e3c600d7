#include "app/Main.h"

#include "base/Module1.h"
#include "base/forms.h"
#include "browser/AddressRules.h"
#include "browser/frmBrowser.h"
#include "platform/Files.h"
#include "platform/Services.h"
#include "platform/WebBrowser.h"

#include <QComboBox>
#include <QTimer>

namespace {
const QString kHomeFile = QStringLiteral("INIZIO.HTM");
}

HomePageChoice ChooseHomePage()
{
    HomePageChoice c;
    for (const char *dir : {"C:\\HOME-PAG\\", "D:\\HOME-PAG\\"}) {
        c.homePageDir = QString::fromLatin1(dir);
        c.startUrl = c.homePageDir + kHomeFile;
        if (platform::files().canOpenForRead(c.startUrl))
            return c;
    }
    c.startUrl = QStringLiteral("about:blank");
    return c;
}

void Main(const QString &argumentText)
{
    using namespace Module1;
    if (const auto a = SplitArgument(argumentText)) {
        CommandLinePath = a->commandLinePath;
        HomePageDir = a->homePageDir;
        HomePageFile = a->homePageFile;
        StartUrl = a->startUrl;
        // The window's load already lists and opens StartUrl; the argument's page is
        // listed and requested a second time here.
        try {
            frmBrowser *w = forms::frmBrowser();
            w->cboAddress->setEditText(StartUrl);
            w->cboAddress->setEditText(StartUrl);
            // After the log read at load, as the window lists it.
            w->whenLogJoined([w, text = w->cboAddress->currentText()] { w->addListEntry(text); });
            w->timTimer->start();
            w->brwWebBrowser->Navigate(StartUrl);
        } catch (...) {
        }
    } else {
        const HomePageChoice c = ChooseHomePage();
        HomePageDir = c.homePageDir;
        StartUrl = c.startUrl;
    }
    try {
        forms::frmBrowser()->show();
    } catch (...) {
    }
}
