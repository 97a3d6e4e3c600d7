#pragma once
#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QComboBox>
#include <QTimer>

// The browser window on the fake control, with what its loading showed cleared.
class BrowserTest : public LanternaTest {
protected:
    frmBrowser *w = nullptr;
    void SetUp() override
    {
        LanternaTest::SetUp();
        w = forms::frmBrowser();
        ASSERT_NE(browser(), nullptr);
        ui.messages.clear();
        processes.starts.clear();
    }
    QStringList listEntries() const { return boxEntries(w->cboAddress); }
};

// The browser window on a blank page, its timer stopped and the control's calls so far cleared.
class BlankBrowserTest : public LanternaTest {
protected:
    frmBrowser *open()
    {
        Module1::StartUrl = QStringLiteral("about:blank");
        frmBrowser *w = forms::frmBrowser();
        w->timTimer->stop();
        browser()->calls.clear();
        return w;
    }
};
