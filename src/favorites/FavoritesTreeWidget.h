#pragma once
#include "favorites/FavoritesTree.h"

#include <QHash>
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QStringList>

class QTreeWidget;
class QTreeWidgetItem;

// Images by 1-based index, each with a key, as a tree shows them.
struct ImageList {
    QStringList keys;
    QList<QPixmap> images;

    void add(const QString &key, const QPixmap &image);
    // Null when the index is out of range (0 is "none").
    QPixmap image(int index) const;
    int indexOf(const QString &key) const;
};

// The Favorites tree shown in a QTreeWidget. Nodes are found by key through a hash,
// so a large tree builds in linear time.
class FavoritesTreeWidget : public FavoritesTree {
public:
    FavoritesTreeWidget(QTreeWidget *view, const ImageList *images);
    ~FavoritesTreeWidget() override;
    FavoritesTreeWidget(const FavoritesTreeWidget &) = delete;
    FavoritesTreeWidget &operator=(const FavoritesTreeWidget &) = delete;

    void clear() override;
    FavNodeRef add(const QString &relativeKey, const QString &key, const QString &text, int image,
                   int selectedImage) override;
    void setTag(const FavNodeRef &node, const QString &tag) override;
    FavNodeRef find(const QString &key) const override;
    void expand(const FavNodeRef &node) override;

    // While held, new top-level nodes and their subtrees stay outside the view and
    // reach it together on release: a big tree builds without a view update per node.
    void hold();
    void release();

    // The node an item shows, or nullptr.
    FavNodeRef nodeOf(const QTreeWidgetItem *item) const;
    QTreeWidgetItem *itemOf(const QString &key) const;
    int count() const { return int(byKey_.size()); }

private:
    QIcon iconFor(int image, int selectedImage);

    struct Entry {
        FavNodeRef node;
        QTreeWidgetItem *item = nullptr;
    };
    QTreeWidget *view_;
    const ImageList *images_;
    QHash<QString, Entry> byKey_;
    bool held_ = false;
    QList<QTreeWidgetItem *> pendingTop_;
    QList<QTreeWidgetItem *> pendingExpand_;
    QHash<int, QIcon> icons_;
};
