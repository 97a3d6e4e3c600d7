#include "platform/WebEnginePage.h"

#include "platform/EngineTexts.h"
#include "platform/Services.h"
#include "platform/Ui.h"

#include <QAction>
#include <QApplication>
#include <QAuthenticator>
#include <QCloseEvent>
#include <QFileDialog>
#include <QSet>
#include <QVBoxLayout>
#include <QWebEngineCertificateError>
#include <QWebEngineFullScreenRequest>
#include <QWebEngineView>

namespace platform {

// A page's full screen (a video): its view moves into a window of the whole screen,
// and Escape or closing it gives the page back to its own view.
class FullScreenWindow : public QWidget {
public:
    FullScreenWindow(QWebEnginePage *page, QWebEngineView *oldView)
        : view_(new QWebEngineView(this)), oldView_(oldView)
    {
        setAttribute(Qt::WA_DeleteOnClose, false);
        auto *layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(view_);
        auto *leave = new QAction(this);
        leave->setShortcut(Qt::Key_Escape);
        leave->setShortcutContext(Qt::WindowShortcut);
        connect(leave, &QAction::triggered, this, [page] { page->triggerAction(QWebEnginePage::ExitFullScreen); });
        addAction(leave);
        setWindowTitle(page->title());
        view_->setPage(page);
        showFullScreen();
        activateWindow();
        view_->setFocus();
    }
    ~FullScreenWindow() override
    {
        if (oldView_ && view_->page())
            oldView_->setPage(view_->page());
    }
    // The page is going: nothing to give back.
    void forgetOldView() { oldView_ = nullptr; }

protected:
    void closeEvent(QCloseEvent *event) override
    {
        event->ignore();
        if (QWebEnginePage *p = view_->page())
            p->triggerAction(QWebEnginePage::ExitFullScreen);
    }

private:
    QWebEngineView *view_;
    QPointer<QWebEngineView> oldView_;
};

namespace {

// Answers for the run, for every page of the process: origin + feature -> granted.
QHash<QString, bool> &permissionAnswers()
{
    static QHash<QString, bool> answers;
    return answers;
}

} // namespace

EnginePage::EnginePage(QWebEngineProfile *profile, QObject *parent) : QWebEnginePage(profile, parent)
{
    useItalianActions(this);
    connect(this, &QWebEnginePage::authenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *auth) { askLogin(url, auth, siteOf(url)); });
    connect(this, &QWebEnginePage::proxyAuthenticationRequired, this,
            [this](const QUrl &url, QAuthenticator *auth, const QString &proxyHost) {
                askLogin(url, auth, proxyHost + QStringLiteral(" (proxy)"));
            });
    connect(this, &QWebEnginePage::certificateError, this, &EnginePage::onCertificateError);
    connect(this, &QWebEnginePage::featurePermissionRequested, this, &EnginePage::onPermission);
    connect(this, &QWebEnginePage::fullScreenRequested, this, &EnginePage::onFullScreen);
}

EnginePage::~EnginePage()
{
    if (fullScreen_)
        fullScreen_->forgetOldView();
    delete fullScreen_.data();
}

void EnginePage::loginsAllowedAgain()
{
    loginsAsked_.clear();
    loginsRefused_ = false;
}

bool EnginePage::takeUserWindow()
{
    // Only the window the engine asks for right after the user's choice: a choice that
    // opened nothing must not let a later pop-up through.
    const bool recent = userWindow_.isValid() && !userWindow_.hasExpired(2000);
    userWindow_.invalidate();
    return recent;
}

void EnginePage::triggerAction(WebAction action, bool checked)
{
    if (action == OpenLinkInNewWindow || action == OpenLinkInNewTab || action == OpenLinkInNewBackgroundTab
        || action == ViewSource)
        userWindow_.start();
    QWebEnginePage::triggerAction(action, checked);
}

void EnginePage::askLogin(const QUrl &url, QAuthenticator *auth, const QString &site)
{
    // Credentials left empty would be sent as they are, again and again: a refusal
    // must clear the authenticator, so the engine shows the site's own refusal page.
    const QString address = url.toString(QUrl::RemoveUserInfo | QUrl::RemoveFragment);
    int &asked = loginsAsked_[address];
    if (loginsRefused_ || asked >= kMaxLoginQuestions) {
        *auth = QAuthenticator();
        return;
    }
    ++asked;
    QString user = auth->user();
    QString password;
    const QPointer<EnginePage> alive(this);
    const bool ok = ui().askLogin(site, auth->realm(), &user, &password);
    if (!alive)
        return;
    if (!ok) {
        loginsRefused_ = true;
        *auth = QAuthenticator();
        return;
    }
    auth->setUser(user);
    auth->setPassword(password);
}

void EnginePage::onCertificateError(const QWebEngineCertificateError &error)
{
    QWebEngineCertificateError e = error;
    if (!e.isOverridable()) {
        e.rejectCertificate();
        return;
    }
    e.defer();
    const QString text = QStringLiteral("Il certificato di sicurezza del sito %1 non è valido:\r%2\r\rContinuare comunque?")
                             .arg(siteOf(e.url()), certificateReason(e.type()));
    const int answer = ui().MsgBox(text, vbYesNo | vbExclamation | vbDefaultButton2, QStringLiteral("Certificato non valido"));
    if (answer == vbYes)
        e.acceptCertificate();
    else
        e.rejectCertificate();
}

void EnginePage::onPermission(const QUrl &origin, Feature feature)
{
    const QString key = siteOf(origin) + QLatin1Char(' ') + QString::number(int(feature));
    auto it = permissionAnswers().constFind(key);
    bool granted;
    if (it != permissionAnswers().constEnd()) {
        granted = it.value();
    } else {
        const QPointer<EnginePage> alive(this);
        const int answer = ui().MsgBox(QStringLiteral("Il sito %1 chiede di %2.\rConsentire?")
                                           .arg(siteOf(origin), permissionName(feature)),
                                       vbYesNo | vbQuestion | vbDefaultButton2, QStringLiteral("Permesso richiesto"));
        if (!alive)
            return;
        granted = answer == vbYes;
        permissionAnswers().insert(key, granted);
    }
    setFeaturePermission(origin, feature, granted ? PermissionGrantedByUser : PermissionDeniedByUser);
}

void EnginePage::onFullScreen(QWebEngineFullScreenRequest request)
{
    if (!request.toggleOn()) {
        request.accept();
        delete fullScreen_.data();
        return;
    }
    QWebEngineView *view = QWebEngineView::forPage(this);
    if (fullScreen_ || !view) {
        request.reject();
        return;
    }
    request.accept();
    fullScreen_ = new FullScreenWindow(this, view);
}

QString EnginePage::dialogTitle(const QUrl &origin) const
{
    // A local page's origin is no address to name it by: the page's own is.
    const QString site = origin.scheme() == QLatin1String("file") ? QString() : siteOf(origin);
    return site.isEmpty() || site == QLatin1String("null") ? siteOf(url()) : site;
}

void EnginePage::javaScriptAlert(const QUrl &securityOrigin, const QString &msg)
{
    ui().MsgBox(msg, vbOKOnly | vbExclamation, dialogTitle(securityOrigin));
}

bool EnginePage::javaScriptConfirm(const QUrl &securityOrigin, const QString &msg)
{
    const bool leaving = msg == engineLeavePageText();
    return ui().MsgBox(leaving ? leavePageText() : msg, vbOKCancel | vbQuestion, dialogTitle(securityOrigin)) == vbOK;
}

bool EnginePage::javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                                  QString *result)
{
    QString value = defaultValue;
    if (!ui().inputBox(msg, dialogTitle(securityOrigin), &value))
        return false;
    *result = value;
    return true;
}

QStringList EnginePage::chooseFiles(FileSelectionMode mode, const QStringList &oldFiles, const QStringList &)
{
    QWidget *parent = QWebEngineView::forPage(this);
    const QString start = oldFiles.value(0);
    const auto options = QFileDialog::DontUseNativeDialog;
    switch (mode) {
    case FileSelectOpenMultiple:
        return QFileDialog::getOpenFileNames(parent, QStringLiteral("Scegli i file da inviare"), start, QString(),
                                             nullptr, options);
    case FileSelectUploadFolder: {
        const QString dir = QFileDialog::getExistingDirectory(parent, QStringLiteral("Scegli la cartella da inviare"),
                                                              start, options | QFileDialog::ShowDirsOnly);
        return dir.isEmpty() ? QStringList() : QStringList{dir};
    }
    case FileSelectSave: {
        const QString file = QFileDialog::getSaveFileName(parent, QStringLiteral("Salva con nome"), start, QString(),
                                                          nullptr, options);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    default: {
        const QString file = QFileDialog::getOpenFileName(parent, QStringLiteral("Scegli il file da inviare"), start,
                                                          QString(), nullptr, options);
        return file.isEmpty() ? QStringList() : QStringList{file};
    }
    }
}

} // namespace platform
