#include "platform/PopupLimit.h"

namespace platform {

bool PopupLimit::mayAsk(qint64 nowMs)
{
    if (openCount() >= kMaxOpen)
        return false;
    while (!asked_.empty() && nowMs - asked_.front() >= 1000)
        asked_.pop_front();
    if (int(asked_.size()) >= kMaxPerSecond)
        return false;
    asked_.push_back(nowMs);
    return true;
}

void PopupLimit::opened(QObject *window)
{
    if (window)
        open_.append(window);
}

int PopupLimit::openCount()
{
    open_.removeAll(QPointer<QObject>());
    return int(open_.size());
}

} // namespace platform
