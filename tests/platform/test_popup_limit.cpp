// How many windows a browser control's pages may open, at once and in a second.
#include "platform/PopupLimit.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>
#include <vector>

using platform::PopupLimit;

TEST(PopupLimit, AFewASecondAndAFewAtOnce)
{
    PopupLimit limit;
    std::vector<std::unique_ptr<QObject>> windows;
    auto openOne = [&](qint64 now) {
        if (!limit.mayAsk(now))
            return false;
        windows.push_back(std::make_unique<QObject>());
        limit.opened(windows.back().get());
        return true;
    };

    // A burst: the first few of one second, the rest dropped.
    for (int i = 0; i < PopupLimit::kMaxPerSecond; ++i)
        EXPECT_TRUE(openOne(1000 + i));
    EXPECT_FALSE(openOne(1500));
    EXPECT_FALSE(openOne(1999));
    // A second after the first of them, room again, one by one.
    EXPECT_TRUE(openOne(2000));
    EXPECT_FALSE(openOne(2000));
    EXPECT_TRUE(openOne(2001));

    // Never more than a few open at once, however slowly asked for.
    qint64 now = 10000;
    while (limit.openCount() < PopupLimit::kMaxOpen)
        ASSERT_TRUE(openOne(now += 1000));
    EXPECT_FALSE(openOne(now += 5000));
    EXPECT_EQ(limit.openCount(), PopupLimit::kMaxOpen);

    // A window closed makes room for one more.
    windows.erase(windows.begin());
    EXPECT_EQ(limit.openCount(), PopupLimit::kMaxOpen - 1);
    EXPECT_TRUE(openOne(now += 1000));
    EXPECT_FALSE(openOne(now += 1000));
}

TEST(PopupLimit, RefusedRequestsDoNotUseUpTheSecond)
{
    // A request turned down (the user's switch, a question answered no) opened
    // nothing, but it was raised: it counts against its second, not against the
    // windows open.
    PopupLimit limit;
    for (int i = 0; i < PopupLimit::kMaxPerSecond; ++i)
        EXPECT_TRUE(limit.mayAsk(i));
    EXPECT_FALSE(limit.mayAsk(10));
    EXPECT_EQ(limit.openCount(), 0);
    EXPECT_TRUE(limit.mayAsk(1000));
}
