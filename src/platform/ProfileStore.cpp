#include "platform/ProfileStore.h"

#include "platform/PathSpace.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QSaveFile>
#include <QTimer>
#include <QUrl>
#include <QWebEngineCookieStore>
#include <QWebEngineProfile>

#include <algorithm>
#include <cstdlib>

#ifndef _WIN32
#include <cerrno>
#include <csignal>
#endif

namespace platform {

namespace {

const char kPrivateVariable[] = "LANTERNA_PRIVATO";
const QByteArray kHeader = "lanterna-cookies 1";
constexpr qint64 kLargestFile = 16 * 1024 * 1024;
constexpr int kMostEntries = 20000;
constexpr int kCacheBytes = 100 * 1024 * 1024;
// A page that sets cookies without pause still gets the disk at most this often.
constexpr int kWriteEveryMs = 250;
const QString kHandbackSuffix = QStringLiteral(".cookies");

bool processRunning(qint64 pid)
{
#ifdef _WIN32
    (void)pid;
    return false;
#else
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
#endif
}

QByteArray field(const QByteArray &raw) { return raw.isEmpty() ? QByteArray("%") : raw.toPercentEncoding(); }

std::optional<QByteArray> unfield(const QByteArray &f)
{
    if (f == "%")
        return QByteArray();
    if (f.isEmpty())
        return std::nullopt;
    return QByteArray::fromPercentEncoding(f);
}

bool plainText(const QByteArray &b)
{
    return std::none_of(b.begin(), b.end(), [](char ch) { return uchar(ch) < 0x20 || ch == 0x7f; });
}

// What a cookie file can hold: nothing that could break a line or name a place.
bool storable(const QNetworkCookie &c)
{
    const QByteArray domain = c.domain().toUtf8();
    return !domain.isEmpty() && !domain.contains(' ') && !domain.contains('/') && plainText(domain)
           && plainText(c.path().toUtf8()) && plainText(c.name()) && plainText(c.value());
}

bool expired(const QNetworkCookie &c)
{
    return !c.isSessionCookie() && c.expirationDate() <= QDateTime::currentDateTimeUtc();
}

bool sameCookie(const QNetworkCookie &a, const QNetworkCookie &b)
{
    return a.toRawForm() == b.toRawForm() && a.domain() == b.domain();
}

} // namespace

void usePrivateProfile() { qputenv(kPrivateVariable, "1"); }
bool usesPrivateProfile() { return qEnvironmentVariable(kPrivateVariable) == QLatin1String("1"); }
QString profileFolder() { return userDataFolder() + QStringLiteral("/profile"); }

namespace cookiefile {

QString key(const QNetworkCookie &c)
{
    return c.domain() + QLatin1Char('\t') + c.path() + QLatin1Char('\t') + QString::fromLatin1(c.name().toHex());
}

QByteArray encode(const Contents &c)
{
    QByteArray out = kHeader + ' ' + QByteArray::number(c.writer) + (c.open ? " open\n" : " closed\n");
    for (const Entry &e : c.entries) {
        if (e.op == '!') {
            out += "!\n";
            continue;
        }
        const QNetworkCookie &k = e.cookie;
        if (!storable(k))
            continue;
        out += e.op;
        out += ' ' + field(k.domain().toUtf8()) + ' ' + field(k.path().toUtf8()) + ' ' + field(k.name());
        if (e.op == '+') {
            out += ' ' + field(k.value()) + ' ';
            out += k.isSessionCookie() ? QByteArray("-") : QByteArray::number(k.expirationDate().toMSecsSinceEpoch());
            QByteArray flags;
            if (k.isSecure())
                flags += 's';
            if (k.isHttpOnly())
                flags += 'h';
            switch (k.sameSitePolicy()) {
            case QNetworkCookie::SameSite::Lax: flags += 'L'; break;
            case QNetworkCookie::SameSite::Strict: flags += 'S'; break;
            case QNetworkCookie::SameSite::None: flags += 'N'; break;
            default: break;
            }
            out += ' ' + (flags.isEmpty() ? QByteArray("-") : flags);
        }
        out += '\n';
    }
    return out;
}

std::optional<Contents> decode(const QByteArray &data)
{
    if (data.size() > kLargestFile || !data.endsWith('\n'))
        return std::nullopt;
    QList<QByteArray> lines = data.split('\n');
    lines.removeLast();
    if (lines.isEmpty() || lines.size() > kMostEntries + 1)
        return std::nullopt;
    const QList<QByteArray> head = lines.first().split(' ');
    if (head.size() != 4 || head[0] + ' ' + head[1] != kHeader || (head[3] != "open" && head[3] != "closed"))
        return std::nullopt;
    Contents c;
    bool ok = false;
    c.writer = head[2].toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    c.open = head[3] == "open";
    for (qsizetype i = 1; i < lines.size(); ++i) {
        const QList<QByteArray> f = lines[i].split(' ');
        Entry e;
        if (f.size() == 1 && f[0] == "!") {
            e.op = '!';
            c.entries.append(e);
            continue;
        }
        if (f.isEmpty() || (f[0] != "+" && f[0] != "-") || f.size() != (f[0] == "+" ? 7 : 4))
            return std::nullopt;
        e.op = f[0][0];
        std::optional<QByteArray> parts[4];
        for (int j = 0; j < (e.op == '+' ? 4 : 3); ++j)
            if (!(parts[j] = unfield(f[j + 1])) || !plainText(*parts[j]))
                return std::nullopt;
        e.cookie.setDomain(QString::fromUtf8(*parts[0]));
        e.cookie.setPath(QString::fromUtf8(*parts[1]));
        e.cookie.setName(*parts[2]);
        if (e.op == '+') {
            e.cookie.setValue(*parts[3]);
            if (f[5] != "-") {
                const qint64 ms = f[5].toLongLong(&ok);
                if (!ok)
                    return std::nullopt;
                e.cookie.setExpirationDate(QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC));
            }
            for (char flag : f[6]) {
                switch (flag) {
                case 's': e.cookie.setSecure(true); break;
                case 'h': e.cookie.setHttpOnly(true); break;
                case 'L': e.cookie.setSameSitePolicy(QNetworkCookie::SameSite::Lax); break;
                case 'S': e.cookie.setSameSitePolicy(QNetworkCookie::SameSite::Strict); break;
                case 'N': e.cookie.setSameSitePolicy(QNetworkCookie::SameSite::None); break;
                case '-': break;
                default: return std::nullopt;
                }
            }
        }
        if (!storable(e.cookie))
            return std::nullopt;
        c.entries.append(e);
    }
    return c;
}

} // namespace cookiefile

namespace {

// A file of ours that cannot be read as one is kept aside, never overwritten or lost.
std::optional<cookiefile::Contents> readCookieFile(const QString &name)
{
    QFile f(name);
    if (!f.open(QIODevice::ReadOnly))
        return std::nullopt;
    const auto c = cookiefile::decode(f.read(kLargestFile + 1));
    if (!c) {
        f.close();
        QFile::remove(name + QStringLiteral(".bad"));
        QFile::rename(name, name + QStringLiteral(".bad"));
    }
    return c;
}

bool writeCookieFile(const QString &name, const cookiefile::Contents &c)
{
    QSaveFile f(name);
    return f.open(QIODevice::WriteOnly) && f.write(cookiefile::encode(c)) >= 0 && f.commit();
}

QList<QNetworkCookie> liveCookies(const QHash<QString, QNetworkCookie> &all)
{
    QList<QNetworkCookie> out;
    for (const QNetworkCookie &c : all)
        if (!expired(c))
            out.append(c);
    return out;
}

} // namespace

ProfileStore::ProfileStore(QObject *parent) : QObject(parent)
{
    throttle_ = new QTimer(this);
    throttle_->setSingleShot(true);
    throttle_->setInterval(kWriteEveryMs);
    connect(throttle_, &QTimer::timeout, this, [this] {
        if (dirty_)
            write();
    });
    folder_ = profileFolder();
    if (usesPrivateProfile() || !QDir().mkpath(folder_)) {
        profile_ = new QWebEngineProfile; // no storage name: off the record
        return;
    }
    // The user's logins: for the user's eyes only.
    QFile::setPermissions(folder_, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    lock_ = std::make_unique<QLockFile>(path(QStringLiteral("lock")));
    // Only a live holder keeps the profile: a killed one's lock is stale at once.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0))
        startHolder();
    else {
        lock_.reset();
        startGuest();
    }
}

ProfileStore::~ProfileStore()
{
    finish();
    if (lock_)
        lock_->unlock();
}

QString ProfileStore::path(const QString &name) const { return folder_ + QLatin1Char('/') + name; }

void ProfileStore::startHolder()
{
    role_ = Role::Holder;
    // Stored site data asked to go: the engine has it closed only now.
    if (QFileInfo::exists(path(QStringLiteral("clear")))) {
        QDir(path(QStringLiteral("engine"))).removeRecursively();
        QDir(path(QStringLiteral("cache"))).removeRecursively();
        QFile::remove(path(QStringLiteral("cookies.txt")));
        QFile::remove(path(QStringLiteral("clear")));
    }
    const bool stored = QFileInfo::exists(path(QStringLiteral("engine")));
    profile_ = new QWebEngineProfile(QStringLiteral("lanterna"));
    profile_->setPersistentStoragePath(path(QStringLiteral("engine")));
    profile_->setCachePath(path(QStringLiteral("cache")));
    profile_->setHttpCacheType(QWebEngineProfile::DiskHttpCache);
    profile_->setHttpCacheMaximumSize(kCacheBytes);
    profile_->setPersistentCookiesPolicy(QWebEngineProfile::AllowPersistentCookies);

    QWebEngineCookieStore *store = profile_->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, this, &ProfileStore::cookieAdded);
    connect(store, &QWebEngineCookieStore::cookieRemoved, this, &ProfileStore::cookieRemoved);
    const auto journal = readCookieFile(path(QStringLiteral("cookies.txt")));
    if (journal) {
        // The last holder's session is over: its session cookies end with it.
        for (const cookiefile::Entry &e : journal->entries)
            if (e.op == '+' && !e.cookie.isSessionCookie() && !expired(e.cookie))
                cookies_.insert(cookiefile::key(e.cookie), e.cookie);
        // Killed before the engine saved its last cookies: the journal has them.
        if (journal->open)
            for (const QNetworkCookie &c : std::as_const(cookies_))
                plant(c);
    } else if (stored) {
        store->loadAllCookies(); // the journal is made again from the store
    }
    QDir().mkpath(path(QStringLiteral("handback")));
    takeInHandbacks();
    watcher_ = new QFileSystemWatcher(QStringList{path(QStringLiteral("handback"))}, this);
    connect(watcher_, &QFileSystemWatcher::directoryChanged, this, &ProfileStore::takeInHandbacks);
    // Written once the window is up, unless a cookie comes first.
    dirty_ = true;
    throttle_->start(1000);
}

void ProfileStore::startGuest()
{
    role_ = Role::Guest;
    profile_ = new QWebEngineProfile; // a profile of its own, in memory only
    QWebEngineCookieStore *store = profile_->cookieStore();
    connect(store, &QWebEngineCookieStore::cookieAdded, this, &ProfileStore::cookieAdded);
    connect(store, &QWebEngineCookieStore::cookieRemoved, this, &ProfileStore::cookieRemoved);
    // The holder's journal, then what copies handed back that it has not taken in yet;
    // only read: the files are the holder's to keep. Session cookies of a copy still
    // running are the user's session too (a journal a starting holder has not written
    // yet is the last holder's, and its session is over).
    QFileInfoList files = QDir(path(QStringLiteral("handback")))
                              .entryInfoList({QLatin1Char('*') + kHandbackSuffix}, QDir::Files, QDir::Time | QDir::Reversed);
    files.prepend(QFileInfo(path(QStringLiteral("cookies.txt"))));
    for (const QFileInfo &fi : std::as_const(files)) {
        QFile f(fi.filePath());
        if (f.open(QIODevice::ReadOnly))
            if (const auto c = cookiefile::decode(f.read(kLargestFile + 1)))
                apply(*c, processRunning(c->writer));
    }
}

void ProfileStore::apply(const cookiefile::Contents &c, bool keepSession)
{
    QWebEngineCookieStore *store = profile_->cookieStore();
    for (const cookiefile::Entry &e : c.entries) {
        if (e.op == '!') {
            if (role_ == Role::Holder) {
                clearAll();
            } else {
                store->deleteAllCookies();
                cookies_.clear();
            }
            continue;
        }
        const QString k = cookiefile::key(e.cookie);
        if (e.op == '-') {
            const auto it = cookies_.constFind(k);
            if (it != cookies_.constEnd()) {
                store->deleteCookie(plantedForm(it.value()), cookieOrigin(it.value()));
                cookies_.erase(it);
            }
            continue;
        }
        if ((e.cookie.isSessionCookie() && !keepSession) || expired(e.cookie))
            continue;
        cookies_.insert(k, e.cookie); // its echo from the engine is no change
        plant(e.cookie);
    }
    if (role_ == Role::Holder && !c.entries.isEmpty())
        changed(); // the journal tells later copies
}

QUrl ProfileStore::cookieOrigin(const QNetworkCookie &c)
{
    QUrl origin;
    origin.setScheme(c.isSecure() ? QStringLiteral("https") : QStringLiteral("http"));
    QString host = c.domain();
    if (host.startsWith(QLatin1Char('.')))
        host.remove(0, 1);
    origin.setHost(host);
    origin.setPath(c.path().isEmpty() ? QStringLiteral("/") : c.path());
    return origin;
}

QNetworkCookie ProfileStore::plantedForm(const QNetworkCookie &c)
{
    // A host-only cookie is given without a domain: named, it would become a domain cookie.
    QNetworkCookie out = c;
    if (!c.domain().startsWith(QLatin1Char('.')))
        out.setDomain(QString());
    return out;
}

void ProfileStore::plant(const QNetworkCookie &c)
{
    profile_->cookieStore()->setCookie(plantedForm(c), cookieOrigin(c));
}

void ProfileStore::cookieAdded(const QNetworkCookie &c)
{
    const QString k = cookiefile::key(c);
    const auto it = cookies_.constFind(k);
    if (it != cookies_.constEnd() && sameCookie(it.value(), c))
        return;
    cookies_.insert(k, c);
    if (role_ == Role::Guest)
        pending_.insert(k, {'+', c});
    changed();
}

void ProfileStore::cookieRemoved(const QNetworkCookie &c)
{
    const QString k = cookiefile::key(c);
    const auto it = cookies_.constFind(k);
    // An overwrite is a removal of the old cookie, then the new one.
    if (it == cookies_.constEnd() || !sameCookie(it.value(), c))
        return;
    cookies_.erase(it);
    if (role_ == Role::Guest)
        pending_.insert(k, {'-', c});
    changed();
}

void ProfileStore::changed()
{
    dirty_ = true;
    if (!throttle_->isActive()) {
        write();
        throttle_->start(kWriteEveryMs);
    }
}

void ProfileStore::write()
{
    dirty_ = false;
    if (role_ == Role::Holder)
        writeJournal(true);
    else if (role_ == Role::Guest)
        writeHandback();
}

void ProfileStore::writeJournal(bool open)
{
    cookiefile::Contents c;
    c.writer = QCoreApplication::applicationPid();
    c.open = open;
    for (const QNetworkCookie &k : liveCookies(cookies_))
        c.entries.append({'+', k});
    writeCookieFile(path(QStringLiteral("cookies.txt")), c);
}

void ProfileStore::writeHandback()
{
    const QString name = path(QStringLiteral("handback/%1").arg(QCoreApplication::applicationPid()) + kHandbackSuffix);
    if (handedBack_ && !QFileInfo::exists(name)) {
        // The holder took the last one in: only what changed since goes again.
        for (auto it = sent_.constBegin(); it != sent_.constEnd(); ++it) {
            const auto p = pending_.constFind(it.key());
            if (p != pending_.constEnd() && p->op == it->op && sameCookie(p->cookie, it->cookie))
                pending_.remove(it.key());
        }
        if (clearSent_)
            cleared_ = false;
    }
    if (pending_.isEmpty() && !cleared_)
        return;
    cookiefile::Contents c;
    c.writer = QCoreApplication::applicationPid();
    if (cleared_)
        c.entries.append(cookiefile::Entry{'!', QNetworkCookie()});
    for (const cookiefile::Entry &e : std::as_const(pending_))
        c.entries.append(e);
    QDir().mkpath(path(QStringLiteral("handback")));
    if (writeCookieFile(name, c)) {
        handedBack_ = true;
        sent_ = pending_;
        clearSent_ = cleared_;
    }
}

void ProfileStore::takeInHandbacks()
{
    const QDir dir(path(QStringLiteral("handback")));
    // One a killed holder was taking in is taken again.
    const QFileInfoList files = dir.entryInfoList({QLatin1Char('*') + kHandbackSuffix, QLatin1Char('*') + kHandbackSuffix + QStringLiteral(".taking")},
                                                  QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &fi : files) {
        // Taken whole: renamed first, so the copy's next hand-back is a new file.
        QString taking = fi.filePath();
        if (!taking.endsWith(QLatin1String(".taking"))) {
            taking += QStringLiteral(".taking");
            QFile::remove(taking);
            if (!QFile::rename(fi.filePath(), taking))
                continue;
        }
        if (const auto c = readCookieFile(taking)) {
            apply(*c, processRunning(c->writer));
            QFile::remove(taking);
        }
    }
}

void ProfileStore::finish()
{
    if (finished_ || !profile_)
        return;
    finished_ = true;
    throttle_->stop();
    if (role_ == Role::Holder)
        writeJournal(false);
    else if (role_ == Role::Guest && (dirty_ || !pending_.isEmpty()))
        writeHandback();
}

void ProfileStore::clearAll()
{
    if (!profile_)
        return;
    profile_->cookieStore()->deleteAllCookies();
    profile_->clearHttpCache();
    profile_->clearAllVisitedLinks();
    cookies_.clear();
    if (role_ == Role::Holder) {
        // The engine keeps its storage open: the next holder's start removes it.
        QFile f(path(QStringLiteral("clear")));
        f.open(QIODevice::WriteOnly);
        for (const QFileInfo &fi : QDir(path(QStringLiteral("handback"))).entryInfoList(QDir::Files))
            QFile::remove(fi.filePath());
        dirty_ = true;
        write();
    } else if (role_ == Role::Guest) {
        pending_.clear();
        sent_.clear();
        cleared_ = true;
        clearSent_ = false;
        handedBack_ = false;
        changed();
    }
}

} // namespace platform
