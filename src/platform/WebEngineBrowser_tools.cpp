#include "platform/WebEngineBrowser.h"

#include "platform/PdfName.h"

#include <QChildEvent>
#include <QDir>
#include <QPageRanges>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QWebEngineFindTextResult>
#include <QWebEnginePage>
#include <QWebEngineView>
#include <QWheelEvent>

#include <utility>

namespace platform {

void WebEngineBrowser::connectPageTools()
{
    connect(page(), &QWebEnginePage::findTextFinished, this, [this](const QWebEngineFindTextResult &r) {
        const bool stopped = r.numberOfMatches() == 0 && r.activeMatch() == 0;
        if (std::exchange(findRestarting_, false) && stopped)
            return; // the end of the search a new case rule replaced: no count of its own
        emit FindResult(r.activeMatch(), r.numberOfMatches());
    });
    connect(view_, &QWebEngineView::pdfPrintingFinished, this,
            [this](const QString &file, bool ok) { printed(ok, file); });
    connect(view_, &QWebEngineView::printFinished, this, [this](bool ok) { printed(ok, QString()); });
    // The engine forgets the zoom when another site's page has come (a new renderer) while
    // its cached factor stays: the window's zoom is set again, through 100%.
    connect(page(), &QWebEnginePage::loadFinished, this, [this] {
        const QString host = page()->url().host();
        const bool otherSite = host != zoomHost_;
        zoomHost_ = host;
        if (otherSite && zoom_ != 1.0) {
            view_->setZoomFactor(1.0);
            view_->setZoomFactor(zoom_);
        }
    });
    // The page's own widget is made by the view later; it is watched once it arrives.
    view_->installEventFilter(this);
}

bool WebEngineBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == view_ && event->type() == QEvent::ChildAdded) {
        if (QObject *child = static_cast<QChildEvent *>(event)->child(); child && child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::Wheel && watched != view_) {
        auto *wheel = static_cast<QWheelEvent *>(event);
        if (wheel->modifiers() & Qt::ControlModifier) {
            // One step per notch; finer wheels add up to one.
            wheelAngle_ += wheel->angleDelta().y();
            const int steps = wheelAngle_ / 120;
            wheelAngle_ -= steps * 120;
            if (steps != 0)
                emit ZoomWheel(steps);
            return true;
        }
    }
    return WebBrowser::eventFilter(watched, event);
}

void WebEngineBrowser::FindText(const QString &text, FindDirection direction, FindCase matchCase)
{
    if (!page())
        return;
    QWebEnginePage::FindFlags flags;
    if (direction == FindDirection::Backward)
        flags |= QWebEnginePage::FindBackward;
    if (matchCase == FindCase::Match)
        flags |= QWebEnginePage::FindCaseSensitively;
    // The engine takes the same text again as a step to the next match and keeps the
    // case rule of the first search: a new rule starts the search afresh.
    if (!text.isEmpty() && text == findText_ && matchCase != findCase_) {
        findRestarting_ = true;
        page()->findText(QString());
    }
    findText_ = text;
    findCase_ = matchCase;
    page()->findText(text, flags);
}

void WebEngineBrowser::SetZoomFactor(double factor)
{
    zoom_ = factor;
    view_->setZoomFactor(factor);
}

double WebEngineBrowser::ZoomFactor() const { return zoom_; }

void WebEngineBrowser::Print(QWidget *dialogParent)
{
    if (printer_ || !page())
        return; // one print at a time
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    const QString title = LocationName();
    printer->setDocName(title);
    // With no printer installed the dialog offers a PDF file only: one named after the
    // page, in the user's documents, that does not replace a file already there.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) {
        QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        if (folder.isEmpty() || !QDir(folder).exists())
            folder = QDir::homePath();
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(freePdfPath(folder, title));
    }
    // The window may close while the dialog is up, and take the dialog with it.
    QPointer<QPrintDialog> dialog = new QPrintDialog(printer.get(), dialogParent);
    dialog->setWindowTitle(QStringLiteral("Stampa"));
    const QPointer<WebEngineBrowser> alive(this);
    const bool accepted = dialog->exec() == QDialog::Accepted;
    delete dialog;
    if (!alive || !accepted || !page())
        return;
    printer_ = std::move(printer);
    const QString file = printer_->outputFileName();
    // The engine's own PDF keeps the text; printed through a painter it would be pictures.
    if (printer_->outputFormat() == QPrinter::PdfFormat && !file.isEmpty())
        view_->printToPdf(file, printer_->pageLayout(), printer_->pageRanges());
    else
        view_->print(printer_.get());
}

void WebEngineBrowser::printed(bool ok, const QString &pdfFile)
{
    printer_.reset();
    emit PrintFinished(ok, pdfFile);
}

} // namespace platform
