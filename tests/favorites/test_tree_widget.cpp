#include "FavoritesHelpers.h"
#include "TestEnv.h"
#include "favorites/FavoritesTreeWidget.h"
#include "favorites/FavoritesWalk.h"

#include <QImage>
#include <QPainter>
#include <QTreeWidget>

namespace {

QPixmap solid(Qt::GlobalColor c)
{
    QPixmap p(16, 16);
    p.fill(c);
    return p;
}

QRgb centre(const QIcon &icon, QIcon::Mode mode) { return icon.pixmap(16, 16, mode).toImage().pixel(8, 8); }

// The same text form as MemoryFavTree::dump, read from what the view holds.
void dumpItem(const FavoritesTreeWidget &t, QTreeWidgetItem *item, int depth, QStringList &lines)
{
    const FavNodeRef n = t.nodeOf(item);
    QString line = QString(depth * 2, QLatin1Char(' ')) + item->text(0);
    if (n->image == 1 && n->selectedImage == 2)
        line += QLatin1Char('/');
    else if (n->key != QLatin1String("R"))
        line += QStringLiteral(" -> ") + n->tag;
    lines << line;
    for (int i = 0; i < item->childCount(); ++i)
        dumpItem(t, item->child(i), depth + 1, lines);
}

QString dump(const FavoritesTreeWidget &t, QTreeWidget &view)
{
    QStringList lines;
    for (int i = 0; i < view.topLevelItemCount(); ++i)
        dumpItem(t, view.topLevelItem(i), 0, lines);
    return lines.join(QLatin1Char('\n'));
}

} // namespace

TEST(FavTreeWidget, KeysParentsOrderImagesAndClear)
{
    QTreeWidget view;
    ImageList images;
    images.add("CloseFolder", solid(Qt::red));
    images.add("OpenFolder", solid(Qt::green));
    images.add("URL", solid(Qt::blue));
    EXPECT_EQ(images.indexOf("OpenFolder"), 2);
    EXPECT_TRUE(images.image(0).isNull());
    EXPECT_TRUE(images.image(4).isNull());
    FavoritesTreeWidget t(&view, &images);

    const FavNodeRef root = t.add("", "R", "Internet Preferiti", 3, 0);
    ASSERT_TRUE(root);
    const FavNodeRef folder = t.add("R", "News", "News", 1, 2);
    const FavNodeRef site = t.add("R", "Site_URL", "Site", 3, 0);
    ASSERT_TRUE(folder && site);
    EXPECT_EQ(t.add("R", "News", "News", 1, 2), nullptr);       // duplicate key
    EXPECT_EQ(t.add("Nowhere", "X_URL", "X", 3, 0), nullptr);   // no such parent
    EXPECT_EQ(t.add("", "R", "again", 3, 0), nullptr);
    EXPECT_EQ(t.add("News", "Deep_URL", "Deep", 3, 0)->text, "Deep");

    ASSERT_EQ(view.topLevelItemCount(), 1);
    QTreeWidgetItem *r = view.topLevelItem(0);
    ASSERT_EQ(r->childCount(), 2);
    EXPECT_EQ(r->child(0)->text(0), "News"); // insertion order, no sorting
    EXPECT_EQ(r->child(1)->text(0), "Site");
    EXPECT_EQ(r->child(0)->childCount(), 1);
    EXPECT_EQ(t.count(), 4);

    t.setTag(site, "http://site/");
    EXPECT_EQ(t.find("Site_URL")->tag, "http://site/");
    EXPECT_EQ(t.nodeOf(r->child(1)), site);
    EXPECT_EQ(t.itemOf("News"), r->child(0));
    EXPECT_EQ(t.find("Missing"), nullptr);

    // Folders: closed image, open image while selected; leaves: the URL image.
    EXPECT_EQ(centre(r->child(0)->icon(0), QIcon::Normal), QColor(Qt::red).rgb());
    EXPECT_EQ(centre(r->child(0)->icon(0), QIcon::Selected), QColor(Qt::green).rgb());
    EXPECT_EQ(centre(r->child(1)->icon(0), QIcon::Normal), QColor(Qt::blue).rgb());
    EXPECT_EQ(centre(r->child(1)->icon(0), QIcon::Selected), QColor(Qt::blue).rgb());

    EXPECT_FALSE(r->isExpanded());
    t.expand(root);
    EXPECT_TRUE(r->isExpanded());

    t.clear();
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_EQ(t.find("News"), nullptr);
    EXPECT_EQ(t.count(), 0);
    EXPECT_EQ(site->tag, "http://site/"); // a node held elsewhere outlives the tree
    EXPECT_EQ(t.nodeOf(nullptr), nullptr);
    ASSERT_TRUE(t.add("", "R", "Internet Preferiti", 3, 0));
}

TEST(FavTreeWidget, HeldNodesReachTheViewTogetherOnRelease)
{
    QTreeWidget view;
    ImageList images;
    FavoritesTreeWidget t(&view, &images);
    t.hold();
    const FavNodeRef root = t.add("", "R", "Internet Preferiti", 3, 0);
    t.add("R", "A", "A", 1, 2);
    t.add("A", "x_URL", "x", 3, 0);
    t.expand(root);
    EXPECT_EQ(view.topLevelItemCount(), 0);
    EXPECT_EQ(t.add("R", "A", "A", 1, 2), nullptr); // keys are checked while held
    t.release();
    ASSERT_EQ(view.topLevelItemCount(), 1);
    EXPECT_TRUE(view.topLevelItem(0)->isExpanded());
    EXPECT_EQ(t.itemOf("x_URL")->parent(), t.itemOf("A"));

    t.hold();
    t.clear();
    t.add("", "R", "Internet Preferiti", 3, 0);
    t.clear(); // what was held is dropped, not shown
    t.release();
    EXPECT_EQ(view.topLevelItemCount(), 0);
}

class FavTreeWidgetWalk : public LanternaTest {};

TEST_F(FavTreeWidgetWalk, WalkShowsTheSameTreeAsThePlainOne)
{
    Favorites::reset();
    OrderedFilesInstall ordered;
    const QString fav = *shell.favorites;
    writeFile(fav + "\\Top.url", "[InternetShortcut]\r\nURL=http://top/\r\n");
    writeFile(fav + "\\A\\a.url", "[InternetShortcut]\r\nURL=http://a/\r\n");
    writeFile(fav + "\\A\\B\\b.url", "[InternetShortcut]\r\nURL=http://b/\r\n");
    writeFile(fav + "\\.H\\h.url", "[InternetShortcut]\r\nURL=http://h/\r\n");
    writeFile(fav + "\\C\\Top.url", "[InternetShortcut]\r\nURL=http://dup/\r\n");

    MemoryFavTree plain;
    ASSERT_TRUE(Favorites::Walk(plain).BuildFavoritesTree("t", "t"));

    QTreeWidget view;
    ImageList images;
    FavoritesTreeWidget t(&view, &images);
    Favorites::reset();
    ASSERT_TRUE(Favorites::Walk(t).BuildFavoritesTree("t", "t"));
    EXPECT_EQ(dump(t, view), plain.dump());
    EXPECT_TRUE(view.topLevelItem(0)->isExpanded());
    EXPECT_FALSE(t.itemOf("A")->isExpanded());
    EXPECT_EQ(t.find("A")->tag, fav + "\\A");
}
