#pragma once
#include <QElapsedTimer>
#include <QList>
#include <QObject>
#include <QPointer>
#include <deque>

namespace platform {

// The windows the pages of one browser control may have, counting the windows those
// windows' pages open in turn: a few open at once, a few asked for in any one second.
// A page that asks for windows in a loop gets those few; the rest of its requests are
// dropped unasked, as a blocked pop-up is, and the program stays usable.
class PopupLimit {
public:
    static constexpr int kMaxOpen = 10;
    static constexpr int kMaxPerSecond = 5;

    PopupLimit() { clock_.start(); }

    // Whether a request made now (nowMs on a steady clock) may go ahead; one that may
    // counts against its second.
    bool mayAsk() { return mayAsk(clock_.elapsed()); }
    bool mayAsk(qint64 nowMs);
    // A window opened for a request; it counts until it is destroyed.
    void opened(QObject *window);
    int openCount();

private:
    QElapsedTimer clock_;
    std::deque<qint64> asked_;
    QList<QPointer<QObject>> open_;
};

} // namespace platform
