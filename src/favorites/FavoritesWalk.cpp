#include "favorites/FavoritesWalk.h"

#include "platform/Files.h"
#include "platform/PathSpace.h"
#include "platform/Services.h"
#include "platform/Shell.h"
#include "platform/Ui.h"

#include <QFileInfo>

namespace Favorites {

namespace {

const QString kRootKey = QStringLiteral("R");
const QString kOpenableSuffix = QStringLiteral("_URL");
constexpr int kProfileBuffer = 2048;

// Where a folder really is, links resolved; "" when that cannot be told. Two paths
// with the same identity are the same folder, however they were reached.
QString folderIdentity(const QString &windowsPath)
{
    const QString n = platform::toNativePath(windowsPath);
    if (n.isEmpty())
        return {};
    return QFileInfo(n).canonicalFilePath();
}

} // namespace

void reset()
{
    FavoritesPath.clear();
    ScanPath.clear();
    ShortcutPattern.clear();
    CurrentParentKey.clear();
    FolderLevel = 0;
    for (auto &k : LevelKeys)
        k.clear();
    LastNode.reset();
    TreeBuilt = 0;
}

QString GetSpecialFolder(qint32 folder)
{
    if (folder != CSIDL_FAVORITES)
        return {};
    const auto path = platform::shell().favoritesFolder();
    if (!path)
        return {};
    return TrimNull(*path);
}

QString QualifyPath(const QString &path)
{
    if (path.endsWith(QLatin1Char('\\')))
        return path;
    return path + QLatin1Char('\\');
}

QString TrimNull(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(0));
    return nul < 0 ? text : text.left(nul);
}

QString ProfileGetItem(const QString &section, const QString &key, const QString &defaultValue,
                       const QString &file)
{
    const QString value = platform::files().profileString(section, key, defaultValue, file, kProfileBuffer);
    const qsizetype count = value.size();
    if (count > 0)
        return value.left(kProfileBuffer - 1);
    return {};
}

bool FolderExists(const QString &path) { return platform::files().lookup(path, platform::AttrDirectory); }

Walk::Walk(FavoritesTree &tree, bool allAtFirstLevel) : tree_(tree), allAtFirstLevel_(allAtFirstLevel) {}

bool Walk::BuildFavoritesTree(const QString &failText, const QString &failTitle)
{
    tree_.clear();
    FavoritesPath = GetSpecialFolder(CSIDL_FAVORITES);
    // The root comes first, so it is there even when the folder is missing.
    AddTreeNode(QStringLiteral("Internet Preferiti"), true, true, QString(), QString());
    if (FavoritesPath.isEmpty()) {
        platform::ui().MsgBox(failText, platform::vbOKOnly | platform::vbCritical, failTitle);
        platform::ui().endProgram();
        return false;
    }
    ScanPath = FavoritesPath;
    ShortcutPattern = QStringLiteral("*.url");
    walking_.clear();
    ScanFolder();
    if (const FavNodeRef root = tree_.find(kRootKey))
        tree_.expand(root);
    return true;
}

void Walk::AddTreeNode(const QString &text, bool isFolder, bool isRoot, const QString &parentKey,
                       const QString &address)
{
    if (isRoot) {
        if (FavNodeRef node = tree_.add(QString(), kRootKey, text, 3, 0))
            LastNode = node;
        return;
    }
    if (isFolder) {
        // A duplicate name or an unknown parent leaves the folder out; the walk goes on.
        const QString relative = parentKey.isEmpty() ? kRootKey : parentKey;
        if (FavNodeRef node = tree_.add(relative, text, text, 1, 2)) {
            LastNode = node;
            tree_.setTag(node, ScanPath);
        }
        return;
    }
    // An empty parent key is not the root for a shortcut: such a leaf is left out.
    if (parentKey.isEmpty())
        return;
    if (FavNodeRef node = tree_.add(parentKey, text + kOpenableSuffix, text, 3, 0)) {
        LastNode = node;
        tree_.setTag(node, address);
    }
}

void Walk::AddShortcuts()
{
    const QString path = QualifyPath(ScanPath);
    const auto entries = platform::files().list(path + ShortcutPattern);
    if (!entries)
        return;
    for (const platform::DirEntry &e : *entries) {
        if (e.isDirectory())
            continue;
        const QString name = TrimNull(e.name);
        // Case-sensitive on purpose: the listing matched "News.URL" too, it is not shown.
        const qsizetype p = name.indexOf(QLatin1String(".url")) + 1;
        if (p <= 0)
            continue;
        const QString title = name.left(p - 1);
        const QString address =
            ProfileGetItem(QStringLiteral("InternetShortcut"), QStringLiteral("URL"), QString(), path + name);
        if (!CurrentParentKey.isEmpty()) {
            AddTreeNode(title, false, false, CurrentParentKey, address);
        } else {
            FolderLevel = 0;
            LevelKeys[0] = kRootKey;
            AddTreeNode(title, false, false, kRootKey, address);
        }
    }
}

bool Walk::ClassifyFolder(const QString &name)
{
    if (FolderExists(ScanPath)) {
        const int level = int(ScanPath.count(QLatin1Char('\\'))) - 2;
        // Deeper than LevelKeys reaches: the folder and what it holds are left out.
        if (level >= kLevelCount)
            return false;
        FolderLevel = qint16(level);
        // A Favorites folder at a drive root gives -1: there is no key to remember.
        if (level >= 0)
            LevelKeys[level] = name;
        if (FolderLevel == 1)
            AddTreeNode(name, true, false, QString(), QString());
        else
            AddTreeNode(name, true, false, CurrentParentKey, QString());
        CurrentParentKey = name;
    } else if (platform::files().lookup(ScanPath, platform::AttrSystem | platform::AttrDirectory)) {
        // A system folder shows as a leaf with no address.
        AddTreeNode(name, false, false, CurrentParentKey, QString());
    } else {
        // Hidden: shown as a folder, but it takes no depth index.
        AddTreeNode(name, true, false, CurrentParentKey, QString());
        CurrentParentKey = name;
    }
    return true;
}

void Walk::ScanFolder()
{
    const QString path = QualifyPath(ScanPath);
    const QString self = folderIdentity(path);
    const bool tracked = !self.isEmpty() && !walking_.contains(self);
    if (tracked)
        walking_.insert(self);

    if (const auto entries = platform::files().list(path + QStringLiteral("*.*"))) {
        AddShortcuts();
        for (const platform::DirEntry &e : *entries) {
            if (!e.isDirectory())
                continue;
            const QString name = TrimNull(e.name);
            if (name == QLatin1String(".") || name == QLatin1String(".."))
                continue;
            const QString sub = path + name;
            // A link back to a folder being walked would never end: leave it out.
            const QString id = folderIdentity(sub);
            if (!id.isEmpty() && walking_.contains(id))
                continue;
            const QString previous = ScanPath;
            ScanPath = sub;
            if (!ClassifyFolder(name)) {
                ScanPath = previous;
                continue;
            }
            if (allAtFirstLevel_)
                CurrentParentKey = kRootKey;
            ScanFolder();
        }
    }

    // Step back one level.
    if (FolderLevel >= 1) {
        FolderLevel = qint16(FolderLevel - 1);
        CurrentParentKey = LevelKeys[FolderLevel];
        if (CurrentParentKey == kRootKey)
            CurrentParentKey.clear();
    } else {
        CurrentParentKey.clear();
    }

    if (tracked)
        walking_.remove(self);
}

} // namespace Favorites
