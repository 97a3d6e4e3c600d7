#include "favorites/FavoritesTreeWidget.h"

#include <QTreeWidget>
#include <QTreeWidgetItem>

namespace {
constexpr int kKeyRole = Qt::UserRole;
}

void ImageList::add(const QString &key, const QPixmap &image)
{
    keys << key;
    images << image;
}

QPixmap ImageList::image(int index) const
{
    if (index < 1 || index > images.size())
        return {};
    return images[index - 1];
}

int ImageList::indexOf(const QString &key) const { return int(keys.indexOf(key)) + 1; }

FavoritesTreeWidget::FavoritesTreeWidget(QTreeWidget *view, const ImageList *images)
    : view_(view), images_(images)
{
}

FavoritesTreeWidget::~FavoritesTreeWidget() { qDeleteAll(pendingTop_); }

void FavoritesTreeWidget::clear()
{
    byKey_.clear();
    qDeleteAll(pendingTop_);
    pendingTop_.clear();
    pendingExpand_.clear();
    view_->clear();
    view_->viewport()->update();
}

QIcon FavoritesTreeWidget::iconFor(int image, int selectedImage)
{
    const int id = image * 1000 + selectedImage;
    auto it = icons_.constFind(id);
    if (it != icons_.constEnd())
        return *it;
    QIcon icon;
    if (images_) {
        const QPixmap normal = images_->image(image);
        if (!normal.isNull())
            icon.addPixmap(normal, QIcon::Normal);
        const QPixmap selected = images_->image(selectedImage);
        // The view draws a selected item's icon in Selected mode: the open folder.
        if (!selected.isNull())
            icon.addPixmap(selected, QIcon::Selected);
        else if (!normal.isNull())
            icon.addPixmap(normal, QIcon::Selected);
    }
    icons_.insert(id, icon);
    return icon;
}

FavNodeRef FavoritesTreeWidget::add(const QString &relativeKey, const QString &key, const QString &text, int image,
                                    int selectedImage)
{
    if (byKey_.contains(key))
        return nullptr;
    QTreeWidgetItem *parent = nullptr;
    if (!relativeKey.isEmpty()) {
        const auto it = byKey_.constFind(relativeKey);
        if (it == byKey_.constEnd())
            return nullptr;
        parent = it->item;
    }
    auto node = std::make_shared<FavNode>(FavNode{key, text, image, selectedImage, QString()});
    auto *item = new QTreeWidgetItem;
    item->setText(0, text);
    item->setData(0, kKeyRole, key);
    item->setIcon(0, iconFor(image, selectedImage));
    if (parent)
        parent->addChild(item);
    else if (held_)
        pendingTop_ << item;
    else
        view_->addTopLevelItem(item);
    byKey_.insert(key, Entry{node, item});
    return node;
}

void FavoritesTreeWidget::setTag(const FavNodeRef &node, const QString &tag)
{
    if (node)
        node->tag = tag;
}

FavNodeRef FavoritesTreeWidget::find(const QString &key) const
{
    const auto it = byKey_.constFind(key);
    return it == byKey_.constEnd() ? nullptr : it->node;
}

void FavoritesTreeWidget::expand(const FavNodeRef &node)
{
    if (!node)
        return;
    QTreeWidgetItem *item = itemOf(node->key);
    if (!item)
        return;
    // An item outside the view cannot be expanded yet.
    if (!item->treeWidget())
        pendingExpand_ << item;
    else
        item->setExpanded(true);
}

void FavoritesTreeWidget::hold() { held_ = true; }

void FavoritesTreeWidget::release()
{
    held_ = false;
    if (!pendingTop_.isEmpty())
        view_->addTopLevelItems(pendingTop_);
    pendingTop_.clear();
    for (QTreeWidgetItem *item : std::as_const(pendingExpand_))
        item->setExpanded(true);
    pendingExpand_.clear();
}

FavNodeRef FavoritesTreeWidget::nodeOf(const QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    const FavNodeRef node = find(item->data(0, kKeyRole).toString());
    // The item must be the one this tree holds under that key.
    if (node && itemOf(node->key) == item)
        return node;
    return nullptr;
}

QTreeWidgetItem *FavoritesTreeWidget::itemOf(const QString &key) const
{
    const auto it = byKey_.constFind(key);
    return it == byKey_.constEnd() ? nullptr : it->item;
}
