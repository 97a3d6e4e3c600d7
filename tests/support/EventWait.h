#pragma once
#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

// Runs the event loop until done() holds or timeoutMs pass; true when it holds.
// QTest::qWaitFor sleeps 10 ms between its passes over the events, and a page load of
// the web engine takes many round trips between its threads and processes, each of
// which would then wait out such a sleep: a load of a few milliseconds took seconds.
// Here the loop sleeps only when there is nothing to do, and done() is asked each
// time before it does.
template <typename Done>
bool waitForEvents(Done done, int timeoutMs)
{
    if (done())
        return true;
    QEventLoop loop;
    QTimer deadline;
    deadline.setSingleShot(true);
    QObject::connect(&deadline, &QTimer::timeout, &loop, &QEventLoop::quit);
    QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                     [&] {
                         if (done())
                             loop.quit();
                     });
    deadline.start(timeoutMs);
    loop.exec();
    // Objects a handler let go of inside the loop are deleted now, as the program's
    // own event loop would delete them.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return done();
}
