#include "app/Form.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QPointer>

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
    QEventLoop loop;
    while (self && self->isVisible())
        loop.processEvents(QEventLoop::WaitForMoreEvents);
    if (self)
        setWindowModality(Qt::NonModal);
}
