#pragma once
#include <QHash>
#include <QPointer>
#include <QWidget>

class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QWebEngineDownloadRequest;

namespace platform {

// "Scaricamenti": every download of the run, with its file name, size, progress and
// state, and Apri / Apri cartella / Annulla. One for the whole process; it comes up
// when a download starts and Escape closes it.
class DownloadsWindow : public QWidget {
    Q_OBJECT
public:
    static DownloadsWindow *instance();
    // The window of the run, when it was ever made (for tests).
    static DownloadsWindow *existing();

    // Lists the download, saved to path, and shows the window.
    void add(QWebEngineDownloadRequest *download, const QString &path);

    QTreeWidget *list() const { return list_; }
    static QString stateText(int state);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    DownloadsWindow();
    void update(QTreeWidgetItem *item);
    void selectionChanged();
    QWebEngineDownloadRequest *downloadOf(QTreeWidgetItem *item) const;

    QTreeWidget *list_;
    QPushButton *open_;
    QPushButton *openFolder_;
    QPushButton *cancel_;
    QHash<QTreeWidgetItem *, QPointer<QWebEngineDownloadRequest>> downloads_;
};

} // namespace platform
