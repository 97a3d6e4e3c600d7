#pragma once
#include <QByteArray>
#include <QHash>
#include <QList>
#include <QLockFile>
#include <QNetworkCookie>
#include <QObject>
#include <QString>
#include <QUrl>

#include <memory>
#include <optional>

class QFileSystemWatcher;
class QTimer;
class QWebEngineProfile;

namespace platform {

// A private start: an off-the-record profile, no stored data read or written. Copies
// this process starts inherit it.
void usePrivateProfile();
bool usesPrivateProfile();
// The user's profile folder: userDataFolder() + "/profile".
QString profileFolder();

// The cookie files copies exchange: a header line, then one cookie a line ("+" set,
// "-" removed, "!" everything cleared). Text fields are percent-encoded, so no value
// can break a line or name a file.
namespace cookiefile {
struct Entry {
    char op = '+';
    QNetworkCookie cookie;
};
struct Contents {
    qint64 writer = 0;  // the process that wrote it
    bool open = false;  // written by a holder that had not ended yet
    QList<Entry> entries;
};
QByteArray encode(const Contents &c);
// Nothing for a file that is not one of these (wrong header, bad line, too long).
std::optional<Contents> decode(const QByteArray &data);
// domain, path and name: what the engine keeps one cookie for.
QString key(const QNetworkCookie &c);
} // namespace cookiefile

// The profile of this process, and its part in the exchange between copies. The first
// copy holds the user's profile (a lock file); it keeps a journal of its cookies and
// takes in what the other copies hand back. A later copy runs off the record, starts
// with the journal's cookies and hands back the ones it gets.
class ProfileStore : public QObject {
public:
    explicit ProfileStore(QObject *parent = nullptr);
    ~ProfileStore() override;

    QWebEngineProfile *profile() const { return profile_; }
    bool holdsProfile() const { return lock_ != nullptr; }
    // Before the profile is deleted: the last journal or hand-back is written.
    void finish();
    // Cookies, cache and site storage of the user (stored storage goes at the next start
    // of a holder, when the engine has it closed).
    void clearAll();

private:
    enum class Role { Private, Holder, Guest };
    void startHolder();
    void startGuest();
    void cookieAdded(const QNetworkCookie &c);
    void cookieRemoved(const QNetworkCookie &c);
    void takeInHandbacks();
    void apply(const cookiefile::Contents &c, bool keepSession);
    void plant(const QNetworkCookie &c);
    static QUrl cookieOrigin(const QNetworkCookie &c);
    static QNetworkCookie plantedForm(const QNetworkCookie &c);
    void changed();
    void write();
    void writeJournal(bool open);
    void writeHandback();
    QString path(const QString &name) const;

    Role role_ = Role::Private;
    QString folder_;
    std::unique_ptr<QLockFile> lock_;
    QWebEngineProfile *profile_ = nullptr;
    QHash<QString, QNetworkCookie> cookies_;           // holder: the journal; guest: what it has
    QHash<QString, cookiefile::Entry> pending_;        // guest: changes not yet taken in
    QHash<QString, cookiefile::Entry> sent_;           // guest: the hand-back on disk
    bool cleared_ = false;                             // guest: a clear to hand back
    bool clearSent_ = false;
    bool handedBack_ = false;
    bool dirty_ = false;
    QTimer *throttle_ = nullptr;
    QFileSystemWatcher *watcher_ = nullptr;
    bool finished_ = false;
};

} // namespace platform
