#include "platform/WebEnginePopup.h"

#include "platform/WebEngineProfile.h"

#include <QVBoxLayout>
#include <QWebEnginePage>
#include <QWebEngineView>

namespace platform {

namespace {

class PopupPage : public QWebEnginePage {
public:
    using QWebEnginePage::QWebEnginePage;

protected:
    QWebEnginePage *createWindow(WebWindowType) override
    {
        auto *w = new WebEnginePopup(profile());
        w->show();
        return w->page();
    }
};

} // namespace

WebEnginePopup::WebEnginePopup(QWebEngineProfile *profile) : view_(new QWebEngineView(this))
{
    setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(view_);
    auto *p = new PopupPage(profile, view_);
    view_->setPage(p);
    resize(800, 600);

    connect(p, &QWebEnginePage::titleChanged, this, &QWidget::setWindowTitle);
    connect(p, &QWebEnginePage::windowCloseRequested, this, &QWidget::close);
    connect(p, &QWebEnginePage::geometryChangeRequested, this, [this](const QRect &g) {
        // window.open(..., "width=...,height=...") asks for the page's area.
        if (g.width() > 0 && g.height() > 0)
            resize(qMax(g.width(), 100), qMax(g.height(), 100));
        if (g.x() != 0 || g.y() != 0)
            move(g.topLeft());
    });
    destroyBeforeProfile(this);
}

QWebEnginePage *WebEnginePopup::page() const { return view_->page(); }

} // namespace platform
