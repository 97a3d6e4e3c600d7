#pragma once
#include "BoxHelpers.h"
#include "TestEnv.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QComboBox>

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
