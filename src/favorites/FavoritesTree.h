#pragma once
#include <QString>
#include <memory>

// One node of the Favorites tree. Shared, so a node the program remembers (the last
// one clicked) stays valid after the tree is cleared or its window is gone.
struct FavNode {
    QString key;
    QString text;
    int image = 0;         // 1-based index into the image list
    int selectedImage = 0; // 0: none
    QString tag;
};
using FavNodeRef = std::shared_ptr<FavNode>;

// The few tree operations the Favorites walk needs. Keys are unique in a tree;
// children are appended after their parent's existing children.
class FavoritesTree {
public:
    virtual ~FavoritesTree() = default;

    // Removes every node (and shows the empty tree).
    virtual void clear() = 0;
    // Adds a node as the last child of the node keyed relativeKey, or as a top-level
    // node when relativeKey is empty. nullptr when the key exists already or no node
    // has relativeKey.
    virtual FavNodeRef add(const QString &relativeKey, const QString &key, const QString &text, int image,
                           int selectedImage) = 0;
    virtual void setTag(const FavNodeRef &node, const QString &tag) = 0;
    // nullptr when no node has the key. Never scans the tree.
    virtual FavNodeRef find(const QString &key) const = 0;
    virtual void expand(const FavNodeRef &node) = 0;
};
