#pragma once
#include <QElapsedTimer>

#include <algorithm>
#include <functional>
#include <vector>

// The median time of `work` over `runs` runs, each after an untimed `prepare`.
inline double medianMs(int runs, const std::function<void()> &prepare, const std::function<void()> &work)
{
    std::vector<double> ms;
    for (int r = 0; r < runs; ++r) {
        prepare();
        QElapsedTimer t;
        t.start();
        work();
        ms.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(ms.begin(), ms.end());
    return ms[ms.size() / 2];
}
