#pragma once
#include "base/Form.h"
#include "favorites/FavoritesTree.h"
#include "favorites/FavoritesTreeWidget.h"

#include <memory>

class QAction;
class QCheckBox;
class QMenu;
class QPushButton;
class QTreeWidget;

// Sizes the resize rule gives, in twips.
struct FavLayout {
    int windowWidth = 0;
    int windowHeight = 0;
    int treeWidth = 0;
    int treeHeight = 0;
};
// The window never gets narrower than 1000 or lower than 2000 twips; the tree follows it.
FavLayout FavResizeRule(int windowWidth, int windowHeight);

// The Favorites window: the Favorites folder as a tree; a site opens in the browser
// window or in a new copy of the program.
class frmFav : public Form {
    Q_OBJECT
public:
    frmFav();
    ~frmFav() override;

    QCheckBox *Check1 = nullptr; // "Mette tutte sotto-cartelle al primo livello", hidden
    QCheckBox *Check2 = nullptr; // "Ordina cartelle", hidden
    QPushButton *Command1 = nullptr;
    QTreeWidget *TreeView1 = nullptr;
    ImageList ImageList1;
    QMenu *mnuPopupFav = nullptr;
    QAction *mnuOpen = nullptr;
    QAction *mnuExit = nullptr;
    QMenu *mnuPopupURL = nullptr;
    QAction *mnuOpenSite = nullptr;
    QAction *mnuOpenSiteNew = nullptr;
    QAction *mnuOrganize = nullptr;
    QAction *mnuCancel = nullptr;

    // The nodes of TreeView1, by key.
    FavoritesTreeWidget &nodes() { return *nodes_; }

    void Form_Load() override;
    void Form_Activate();
    void Form_Resize();
    void Form_Unload() override;
    void Command1_Click();
    void mnuOpen_Click();
    void mnuExit_Click();
    void mnuCancel_Click();
    void TreeView1_KeyPress(int KeyAscii);
    void TreeView1_NodeClick(const FavNodeRef &Node);
    void mnuOpenSite_Click();
    void mnuOpenSiteNew_Click();
    void mnuOrganize_Click();

    // Clears and rebuilds the tree; false when the Favorites folder was not found
    // (the program has been told to end).
    bool BuildFavoritesTree(const QString &failText, const QString &failTitle);

    // Showing the window while it is open behind another one brings it to the front
    // instead of doing nothing.
    void setVisible(bool visible) override;

protected:
    bool event(QEvent *e) override;
    void resizeEvent(QResizeEvent *e) override;
    bool eventFilter(QObject *watched, QEvent *e) override;

private:
    void createControls();
    void createMenus();
    void createImages();

    std::unique_ptr<FavoritesTreeWidget> nodes_;
};
