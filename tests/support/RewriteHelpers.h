#pragma once
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"

#include <QTimer>

#include <QStringList>
#include <memory>

// Real files, except that replacing one chosen file whole fails.
class FailingReplaceFiles : public platform::RealFiles {
public:
    using platform::RealFiles::RealFiles;
    QString failReplaceOf;
    QStringList replaced; // every file asked to be replaced whole, in order

    bool replaceFile(const QString &path, const QByteArray &data) override
    {
        replaced << path;
        if (!failReplaceOf.isEmpty() && path.compare(failReplaceOf, Qt::CaseInsensitive) == 0)
            return false;
        return platform::RealFiles::replaceFile(path, data);
    }
};

// The home page folder on drive C:, a page on display, and a Files that can be made to
// fail one replacement.
class RewriteTest : public LanternaTest {
protected:
    const QString home = QStringLiteral("C:\\HOME-PAG\\");
    const QString page = QStringLiteral("C:\\HOME-PAG\\INIZIO.HTM");
    const QString work = QStringLiteral("C:\\HOME-PAG\\INIZIO.HT~");
    const QString backup = QStringLiteral("C:\\HOME-PAG\\INIZIO.HT_");

    void SetUp() override
    {
        LanternaTest::SetUp();
        failing = std::make_unique<FailingReplaceFiles>(QStringLiteral("C:\\PROG"), QStringLiteral("lanterna"));
        services = std::make_unique<platform::Services>(platform::Services{
            ui, *failing, processes, shell, [this](QWidget *parent) -> platform::WebBrowser * {
                auto *b = new FakeWebBrowser(parent);
                browsers.push_back(b);
                return b;
            }});
        platform::install(*services);
        makeDir(home);
        Module1::HomePageDir = home;
        Module1::HomePageFile = QStringLiteral("INIZIO.HTM");
        // The browser window is loaded first, as in the program; its timer would rewrite
        // Tag from the (fake) control's address, so it stays still here.
        forms::frmBrowser()->timTimer->stop();
        ui.messages.clear();
        ui.beeps = 0;
    }

    // Puts the page on disk and on display.
    void showPage(const QByteArray &bytes, const QString &path = {})
    {
        const QString p = path.isEmpty() ? page : path;
        writeFile(p, bytes);
        forms::frmBrowser()->Tag = p;
    }

    // Refresh calls the browser window's control received.
    int refreshes() const
    {
        auto *b = dynamic_cast<FakeWebBrowser *>(forms::frmBrowser()->brwWebBrowser);
        return b ? b->count(QStringLiteral("Refresh")) : -1;
    }

    std::unique_ptr<FailingReplaceFiles> failing;
    std::unique_ptr<platform::Services> services;
};
