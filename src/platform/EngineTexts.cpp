#include "platform/EngineTexts.h"

#include "platform/WebEngineUrls.h"

#include <QAction>
#include <QWebEngineCertificateError>
#include <QWebEnginePage>

namespace platform {

void useItalianActions(QWebEnginePage *page)
{
    using P = QWebEnginePage;
    static const struct {
        P::WebAction action;
        const char *text;
    } names[] = {
        {P::Back, "&Indietro"},
        {P::Forward, "&Avanti"},
        {P::Stop, "&Ferma"},
        {P::Reload, "&Ricarica"},
        {P::ReloadAndBypassCache, "Ricarica &tutto"},
        {P::Cut, "&Taglia"},
        {P::Copy, "&Copia"},
        {P::Paste, "I&ncolla"},
        {P::PasteAndMatchStyle, "Incolla come testo"},
        {P::Undo, "Ann&ulla"},
        {P::Redo, "Ri&peti"},
        {P::SelectAll, "&Seleziona tutto"},
        {P::Unselect, "Deseleziona"},
        {P::OpenLinkInThisWindow, "Apri il collegamento"},
        {P::OpenLinkInNewWindow, "Apri il collegamento in una &nuova finestra"},
        {P::CopyLinkToClipboard, "Copia &indirizzo del collegamento"},
        {P::DownloadLinkToDisk, "Salva il collegamento"},
        {P::CopyImageToClipboard, "Copia &immagine"},
        {P::CopyImageUrlToClipboard, "Copia indirizzo dell'immagine"},
        {P::DownloadImageToDisk, "Sal&va immagine"},
        {P::CopyMediaUrlToClipboard, "Copia indirizzo del filmato"},
        {P::ToggleMediaControls, "Mostra i comandi"},
        {P::ToggleMediaLoop, "Ripeti di continuo"},
        {P::ToggleMediaPlayPause, "Riproduci / Pausa"},
        {P::ToggleMediaMute, "Audio sì / no"},
        {P::DownloadMediaToDisk, "Salva il filmato"},
        {P::InspectElement, "Ispeziona"},
        {P::ExitFullScreen, "Esci da schermo intero"},
        {P::SavePage, "Salva &pagina"},
        {P::ViewSource, "&Visualizza sorgente"},
    };
    for (const auto &n : names)
        if (QAction *a = page->action(n.action))
            a->setText(QString::fromUtf8(n.text));
    // A window of its own is the program's one way: no tabs.
    for (P::WebAction tab : {P::OpenLinkInNewTab, P::OpenLinkInNewBackgroundTab})
        if (QAction *a = page->action(tab))
            a->setVisible(false);
}

QString certificateReason(int type)
{
    using E = QWebEngineCertificateError;
    switch (type) {
    case E::CertificateCommonNameInvalid:
    case E::CertificateNonUniqueName:
        return QStringLiteral("il certificato è intestato a un altro sito.");
    case E::CertificateDateInvalid:
    case E::CertificateValidityTooLong:
        return QStringLiteral("il certificato è scaduto o non è ancora valido.");
    case E::CertificateAuthorityInvalid:
        return QStringLiteral("il certificato non è rilasciato da un'autorità riconosciuta.");
    case E::CertificateRevoked:
        return QStringLiteral("il certificato è stato revocato.");
    case E::CertificateWeakSignatureAlgorithm:
    case E::CertificateWeakKey:
    case E::SslObsoleteVersion:
        return QStringLiteral("la protezione del collegamento è troppo debole.");
    case E::CertificateNoRevocationMechanism:
    case E::CertificateUnableToCheckRevocation:
        return QStringLiteral("non si può verificare se il certificato è stato revocato.");
    default:
        return QStringLiteral("il certificato non è valido.");
    }
}

QString permissionName(int feature)
{
    switch (feature) {
    case QWebEnginePage::Notifications:
        return QStringLiteral("mostrare notifiche");
    case QWebEnginePage::Geolocation:
        return QStringLiteral("conoscere la tua posizione");
    case QWebEnginePage::MediaAudioCapture:
        return QStringLiteral("usare il microfono");
    case QWebEnginePage::MediaVideoCapture:
        return QStringLiteral("usare la videocamera");
    case QWebEnginePage::MediaAudioVideoCapture:
        return QStringLiteral("usare la videocamera e il microfono");
    case QWebEnginePage::MouseLock:
        return QStringLiteral("bloccare il puntatore del mouse");
    case QWebEnginePage::DesktopVideoCapture:
        return QStringLiteral("vedere lo schermo");
    case QWebEnginePage::DesktopAudioVideoCapture:
        return QStringLiteral("vedere lo schermo e sentirne l'audio");
    default:
        return QStringLiteral("usare una funzione del computer");
    }
}

QString engineLeavePageText()
{
    return QStringLiteral("Are you sure you want to leave this page? Changes that you made may not be saved.");
}

QString leavePageText()
{
    return QStringLiteral("Vuoi davvero lasciare questa pagina?\rLe modifiche fatte potrebbero non essere salvate.");
}

QString siteOf(const QUrl &url)
{
    if (url.isLocalFile() || url.scheme() == QLatin1String("file"))
        return urlText(url);
    const QString s = url.toString(QUrl::RemovePath | QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
    return s.endsWith(QLatin1Char('/')) ? s.chopped(1) : s;
}

} // namespace platform
