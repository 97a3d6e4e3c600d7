#include "base/Form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

namespace {

// Ends a modal wait when its window is hidden.
class HideWatcher : public QObject {
public:
    HideWatcher(QWidget *window, QEventLoop *loop) : QObject(loop), loop_(loop) { window->installEventFilter(this); }

protected:
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            loop_->quit();
        return false;
    }

private:
    QEventLoop *loop_;
};

} // namespace

Form::Form(QWidget *parent) : QWidget(parent, Qt::Window) {}

void Form::closeEvent(QCloseEvent *event)
{
    event->accept();
    if (unloader_) {
        auto f = unloader_; // the unloader destroys this window later; keep a copy
        f();
    }
}

void Form::showModal()
{
    QPointer<Form> self(this);
    setWindowModality(Qt::ApplicationModal);
    show();
    if (isVisible()) {
        // A real event loop, so that ending the program also ends the wait.
        QEventLoop loop;
        new HideWatcher(this, &loop);
        connect(this, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec();
    }
    if (self)
        setWindowModality(Qt::NonModal);
}
