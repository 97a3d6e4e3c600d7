#include "platform/DownloadsWindow.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLocale>
#include <QPushButton>
#include <QTreeWidget>
#include <QUrl>
#include <QVBoxLayout>
#include <QWebEngineDownloadRequest>

namespace platform {

namespace {

enum Column { FileColumn, SizeColumn, ProgressColumn, StateColumn };
constexpr int kPathRole = Qt::UserRole;

QPointer<DownloadsWindow> &theWindow()
{
    static QPointer<DownloadsWindow> w;
    return w;
}

QString sizeText(qint64 bytes) { return QLocale().formattedDataSize(bytes, 1, QLocale::DataSizeTraditionalFormat); }

} // namespace

DownloadsWindow *DownloadsWindow::instance()
{
    if (!theWindow())
        theWindow() = new DownloadsWindow;
    return theWindow();
}

DownloadsWindow *DownloadsWindow::existing() { return theWindow(); }

DownloadsWindow::DownloadsWindow()
    : list_(new QTreeWidget(this)), open_(new QPushButton(QStringLiteral("Apri"), this)),
      openFolder_(new QPushButton(QStringLiteral("Apri cartella"), this)),
      cancel_(new QPushButton(QStringLiteral("Annulla"), this))
{
    setWindowTitle(QStringLiteral("Scaricamenti"));
    list_->setHeaderLabels({QStringLiteral("File"), QStringLiteral("Dimensione"), QStringLiteral("Avanzamento"),
                            QStringLiteral("Stato")});
    list_->setRootIsDecorated(false);
    list_->header()->setSectionResizeMode(FileColumn, QHeaderView::Stretch);
    list_->header()->setStretchLastSection(false);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(open_);
    buttons->addWidget(openFolder_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
    resize(560, 220);

    connect(list_, &QTreeWidget::currentItemChanged, this, &DownloadsWindow::selectionChanged);
    connect(list_, &QTreeWidget::itemActivated, this, [this] { open_->click(); });
    connect(open_, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem *item = list_->currentItem())
            QDesktopServices::openUrl(QUrl::fromLocalFile(item->data(FileColumn, kPathRole).toString()));
    });
    connect(openFolder_, &QPushButton::clicked, this, [this] {
        if (QTreeWidgetItem *item = list_->currentItem())
            QDesktopServices::openUrl(
                QUrl::fromLocalFile(QFileInfo(item->data(FileColumn, kPathRole).toString()).absolutePath()));
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        if (QWebEngineDownloadRequest *d = downloadOf(list_->currentItem()))
            d->cancel();
    });
    selectionChanged();
}

QString DownloadsWindow::stateText(int state)
{
    switch (state) {
    case QWebEngineDownloadRequest::DownloadCompleted:
        return QStringLiteral("completato");
    case QWebEngineDownloadRequest::DownloadCancelled:
        return QStringLiteral("annullato");
    case QWebEngineDownloadRequest::DownloadInterrupted:
        return QStringLiteral("errore");
    default:
        return QStringLiteral("in corso");
    }
}

void DownloadsWindow::add(QWebEngineDownloadRequest *download, const QString &path)
{
    auto *item = new QTreeWidgetItem;
    item->setText(FileColumn, QFileInfo(path).fileName());
    item->setToolTip(FileColumn, path);
    item->setData(FileColumn, kPathRole, path);
    downloads_.insert(item, download);
    list_->insertTopLevelItem(0, item);
    const auto changed = [this, item] { update(item); };
    connect(download, &QWebEngineDownloadRequest::receivedBytesChanged, this, changed);
    connect(download, &QWebEngineDownloadRequest::totalBytesChanged, this, changed);
    connect(download, &QWebEngineDownloadRequest::stateChanged, this, changed);
    update(item);
    list_->setCurrentItem(item);
    show();
    raise();
    activateWindow();
}

QWebEngineDownloadRequest *DownloadsWindow::downloadOf(QTreeWidgetItem *item) const
{
    if (!item)
        return nullptr;
    return downloads_.value(item);
}

void DownloadsWindow::update(QTreeWidgetItem *item)
{
    QWebEngineDownloadRequest *d = downloadOf(item);
    if (!d)
        return;
    const qint64 got = d->receivedBytes();
    const qint64 total = d->totalBytes();
    const bool done = d->state() == QWebEngineDownloadRequest::DownloadCompleted;
    item->setText(SizeColumn, total > 0 ? sizeText(total) : sizeText(got));
    item->setText(ProgressColumn, done ? QStringLiteral("100%")
                                       : total > 0 ? QStringLiteral("%1%").arg(got * 100 / total)
                                                   : sizeText(got));
    item->setText(StateColumn, stateText(d->state()));
    if (item == list_->currentItem())
        selectionChanged();
}

void DownloadsWindow::selectionChanged()
{
    QTreeWidgetItem *item = list_->currentItem();
    QWebEngineDownloadRequest *d = downloadOf(item);
    open_->setEnabled(d && d->state() == QWebEngineDownloadRequest::DownloadCompleted);
    openFolder_->setEnabled(item != nullptr);
    cancel_->setEnabled(d && !d->isFinished());
}

void DownloadsWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace platform
