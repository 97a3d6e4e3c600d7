// The window's event handlers on the real web engine, with local pages.
#include "RealEngineTest.h"
#include "TestEnv.h"
#include "base/Module1.h"
#include "base/forms.h"
#include "browser/frmBrowser.h"
#include "platform/WebEngineBrowser.h"
#include "platform/WebEnginePopup.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QSignalSpy>
#include <QTimer>
#include <QTest>
#include <QWebEngineLoadingInfo>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace {

constexpr int kTimeout = 60000; // a cold engine start on a loaded machine


} // namespace

class RealEvents : public RealEngineTest {
protected:
    // Goes to a page through the address box and waits until it has finished.
    bool open(const QString &windowsPath)
    {
        QSignalSpy done(engine, &platform::WebBrowser::DocumentComplete);
        w->cboAddress->setEditText(windowsPath);
        w->cboAddress_Click();
        // Also waits for the tick after the page, which writes the box: a test that types
        // into it afterwards must not race that tick on a slow machine.
        return QTest::qWaitFor(
            [&] {
                return !engine->Busy() && engine->LocationURL().endsWith(windowsPath.section(QLatin1Char('\\'), -1))
                    && done.count() > 0 && !w->timTimer->isActive();
            },
            kTimeout);
    }
};

TEST_F(RealEvents, PopUpIsBlockedSilentlyAtStartAndOpensWithTheSwitchOff)
{
    writeFile(QStringLiteral("C:\\PAGINE\\POPUP.HTM"),
              "<html><head><title>Apre</title></head><body>pagina"
              "<script>window.open('ALTRA.HTM', 'altra', 'width=300,height=200');</script>"
              "</body></html>\r\n");
    writeFile(QStringLiteral("C:\\PAGINE\\ALTRA.HTM"),
              "<html><head><title>Altra</title></head><body>altra</body></html>\r\n");

    QSignalSpy asked(engine, &platform::WebBrowser::NewWindow2);
    ASSERT_TRUE(open(QStringLiteral("C:\\PAGINE\\POPUP.HTM")));
    // The request is decided inside the event, so once it has been raised a window
    // that was let through would already exist.
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked.count() > 0; }, kTimeout));
    EXPECT_TRUE(popups().isEmpty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(processes.starts.empty());

    // Switch off: the same page now gets its window, still without a question.
    w->Check2->click();
    ASSERT_TRUE(Module1::AllowPopups);
    const int before = asked.count();
    ASSERT_TRUE(open(QStringLiteral("C:\\PAGINE\\POPUP.HTM")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return asked.count() > before && !popups().isEmpty(); }, kTimeout));
    platform::WebEnginePopup *popup = popups().first();
    EXPECT_TRUE(QTest::qWaitFor([&] { return popup->page()->url().toString().endsWith(QLatin1String("ALTRA.HTM")); },
                                kTimeout))
        << popup->page()->url().toString().toStdString();
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(processes.starts.empty());
    // The window the page asked for is a window of its own, the main page stays.
    EXPECT_TRUE(engine->LocationURL().endsWith(QLatin1String("POPUP.HTM")));
}

TEST_F(RealEvents, LinkClickIsAskedAndCancelKeepsThePage)
{
    writeFile(QStringLiteral("C:\\PAGINE\\A.HTM"),
              "<html><head><title>Pagina A</title></head><body>"
              "<a id=\"b\" href=\"B.HTM\">verso B</a> <a id=\"c\" href=\"C.HTM\">verso C</a>"
              "</body></html>\r\n");
    writeFile(QStringLiteral("C:\\PAGINE\\B.HTM"), "<html><head><title>B</title></head><body>B</body></html>\r\n");
    writeFile(QStringLiteral("C:\\PAGINE\\C.HTM"), "<html><head><title>C</title></head><body>C</body></html>\r\n");
    ASSERT_TRUE(open(QStringLiteral("C:\\PAGINE\\A.HTM")));
    const QString pageA = engine->LocationURL();

    // Questions on; Cancel to the navigation question.
    w->Check1->setChecked(false);
    ui.messages.clear();
    ui.answers = {platform::vbCancel};
    w->cboAddress->setEditText(QStringLiteral("scritto a mano"));
    QSignalSpy asked(engine, &platform::WebBrowser::BeforeNavigate2);
    // The engine still starts and ends the refused load; wait for its end.
    bool endedB = false;
    bool loadedB = false;
    QObject::connect(engine->page(), &QWebEnginePage::loadingChanged, engine,
                     [&](const QWebEngineLoadingInfo &info) {
                         if (!info.url().toString().endsWith(QLatin1String("B.HTM"))
                             || info.status() == QWebEngineLoadingInfo::LoadStartedStatus)
                             return;
                         endedB = true;
                         loadedB = info.status() == QWebEngineLoadingInfo::LoadSucceededStatus;
                     });
    engine->page()->runJavaScript(QStringLiteral("document.getElementById('b').click();"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !ui.messages.empty(); }, kTimeout));
    EXPECT_GE(asked.count(), 1);
    EXPECT_EQ(ui.messages[0].title, QStringLiteral("Apre nella stessa finestra"));
    EXPECT_TRUE(ui.messages[0].text.startsWith(QLatin1String("Cerca di aprire nuovo sito: file:")));
    EXPECT_TRUE(ui.messages[0].text.endsWith(QLatin1String("B.HTM"))) << ui.messages[0].text.toStdString();

    ASSERT_TRUE(QTest::qWaitFor([&] { return endedB; }, kTimeout));
    EXPECT_FALSE(loadedB);
    EXPECT_TRUE(engine->LocationURL() == pageA) << engine->LocationURL().toStdString();
    EXPECT_TRUE(w->cboAddress->currentText() == QStringLiteral("scritto a mano"))
        << w->cboAddress->currentText().toStdString();

    // OK to the question: the link is followed and the box takes its address.
    ui.answers = {platform::vbOK};
    engine->page()->runJavaScript(QStringLiteral("document.getElementById('c').click();"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return engine->LocationURL().endsWith(QLatin1String("C.HTM")) && !engine->Busy(); }, kTimeout));
    EXPECT_EQ(ui.messages.size(), 2u);
    EXPECT_TRUE(w->cboAddress->currentText().endsWith(QLatin1String("C.HTM")));
}
