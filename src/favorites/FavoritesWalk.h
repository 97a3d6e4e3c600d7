#pragma once
#include "favorites/FavoritesTree.h"

#include <QSet>
#include <QString>
#include <QtGlobal>
#include <array>

// The walk of the Favorites folder into a tree of folders and .url shortcuts.
namespace Favorites {

// Program-wide state of the walk. It outlives the Favorites window: hiding,
// unloading and reloading the window keep it; a build overwrites only what it sets.
inline QString FavoritesPath;    // the Favorites folder; empty when the query failed
inline QString ScanPath;         // the folder the walk entered last (never restored)
inline QString ShortcutPattern;  // "*.url"
inline QString CurrentParentKey; // receives the next nodes; empty stands for the root
inline qint16 FolderLevel = 0;   // depth index of the folder being entered
inline constexpr int kLevelCount = 201;
inline std::array<QString, kLevelCount> LevelKeys; // node key remembered per depth index
inline FavNodeRef LastNode;      // the node added last, or the one the user clicked
inline int TreeBuilt = 0;        // the tree exists for the window now loaded

// Back to the values of program start.
void reset();

inline constexpr int CSIDL_FAVORITES = 6;

// Path of a shell special folder (only the Favorites folder, number 6, is known), or "".
QString GetSpecialFolder(qint32 folder);
// The path with "\" appended unless it ends in one.
QString QualifyPath(const QString &path);
// The text before the first NUL character.
QString TrimNull(const QString &text);
// One value of an INI-format file (at most 2047 characters); "" when missing or empty.
QString ProfileGetItem(const QString &section, const QString &key, const QString &defaultValue,
                       const QString &file);
// The path names a folder that is neither hidden nor a system folder.
bool FolderExists(const QString &path);

// The build over one tree. allAtFirstLevel is the window's "Mette tutte
// sotto-cartelle al primo livello" switch.
class Walk {
public:
    explicit Walk(FavoritesTree &tree, bool allAtFirstLevel = false);

    // Clears and rebuilds the whole tree. When the Favorites folder cannot be found,
    // shows the caller's text and title and ends the program; returns false then.
    bool BuildFavoritesTree(const QString &failText, const QString &failTitle);
    // Walks ScanPath recursively: its shortcuts first, then each sub-folder.
    void ScanFolder();
    // One node per shortcut file of ScanPath.
    void AddShortcuts();
    void AddTreeNode(const QString &text, bool isFolder, bool isRoot, const QString &parentKey,
                     const QString &address);

private:
    // Adds one sub-folder by its attributes; false when it must not be walked.
    bool ClassifyFolder(const QString &name);

    FavoritesTree &tree_;
    bool allAtFirstLevel_;
    QSet<QString> walking_; // the folders being walked now, resolved, to stop link loops
};

} // namespace Favorites
