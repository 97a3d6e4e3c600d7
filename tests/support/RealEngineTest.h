#pragma once
#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePopup.h"

#include <QApplication>
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

    void SetUp() override
    {
        LanternaTest::SetUp();
        useRealBrowser();
        w = forms::frmBrowser();
        engine = qobject_cast<platform::WebEngineBrowser *>(w->brwWebBrowser);
        ASSERT_NE(engine, nullptr);
    }
    void TearDown() override
    {
        for (auto *p : popups())
            delete p;
        LanternaTest::TearDown();
    }
};
