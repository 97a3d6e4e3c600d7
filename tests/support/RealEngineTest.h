#pragma once
#include "EventWait.h"
#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePopup.h"

#include <QApplication>
#include <QComboBox>
#include <QList>

// The program's windows open now.
inline QList<platform::WebEnginePopup *> popups()
{
    QList<platform::WebEnginePopup *> list;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (auto *p = qobject_cast<platform::WebEnginePopup *>(w))
            list << p;
    return list;
}

// The browser window loaded with the real web engine; pop-ups are closed afterwards.
class RealEngineTest : public LanternaTest {
protected:
    frmBrowser *w = nullptr;
    platform::WebEngineBrowser *engine = nullptr;
    bool loadAtSetUp = true; // false: the test loads the window itself and attaches

    void SetUp() override
    {
        LanternaTest::SetUp();
        useRealBrowser();
        if (loadAtSetUp) {
            forms::frmBrowser();
            attach();
        }
    }
    // Takes the browser window loaded now and its engine.
    void attach()
    {
        w = forms::loaded<frmBrowser>();
        ASSERT_NE(w, nullptr);
        engine = qobject_cast<platform::WebEngineBrowser *>(w->brwWebBrowser);
        ASSERT_NE(engine, nullptr);
    }
    // Through the address box, as the user does, and until the page has finished.
    bool open(const QString &address, const QString &ending, int timeoutMs = 60000)
    {
        w->cboAddress->setEditText(address);
        w->cboAddress_Click();
        return waitForEvents([&] { return !engine->Busy() && engine->LocationURL().endsWith(ending); }, timeoutMs);
    }
    void TearDown() override
    {
        for (auto *p : popups())
            delete p;
        LanternaTest::TearDown();
    }
};
