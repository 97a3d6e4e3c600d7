#pragma once
#include <QElapsedTimer>
#include <QHash>
#include <QPointer>
#include <QWebEnginePage>

class QAuthenticator;
class QWebEngineCertificateError;
class QWebEngineFullScreenRequest;

namespace platform {

class FullScreenWindow;

// What every page of the program has from the control itself, in Italian: the login
// box, the certificate question, script message boxes, permission questions, the
// file chooser, a page's full screen and the names of its context menu.
class EnginePage : public QWebEnginePage {
    Q_OBJECT
public:
    EnginePage(QWebEngineProfile *profile, QObject *parent);
    ~EnginePage() override;

    // A command of the user's (typed address, Refresh, Back, Forward): logins that
    // were given up are asked again.
    void loginsAllowedAgain();
    // A window the user asked for in the context menu, not one the page asked for.
    bool takeUserWindow();

    static constexpr int kMaxLoginQuestions = 3;

    void triggerAction(WebAction action, bool checked = false) override;

protected:
    bool javaScriptConfirm(const QUrl &securityOrigin, const QString &msg) override;
    void javaScriptAlert(const QUrl &securityOrigin, const QString &msg) override;
    bool javaScriptPrompt(const QUrl &securityOrigin, const QString &msg, const QString &defaultValue,
                          QString *result) override;
    QStringList chooseFiles(FileSelectionMode mode, const QStringList &oldFiles,
                            const QStringList &acceptedMimeTypes) override;

private:
    void askLogin(const QUrl &url, QAuthenticator *auth, const QString &site);
    void onCertificateError(const QWebEngineCertificateError &error);
    void onPermission(const QUrl &origin, Feature feature);
    void onFullScreen(QWebEngineFullScreenRequest request);
    QString dialogTitle(const QUrl &origin) const;

    QHash<QString, int> loginsAsked_; // address -> questions asked
    bool loginsRefused_ = false;      // Annulla: no more questions until the user's command
    QElapsedTimer userWindow_; // started by the user's choice of a new window
    QPointer<FullScreenWindow> fullScreen_;
};

} // namespace platform
