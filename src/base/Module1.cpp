#include "base/Module1.h"

namespace Module1 {

void reset()
{
    StartUrl.clear();
    HomePageDir.clear();
    HomePageFile.clear();
    CommandLinePath.clear();
    PageVisited = 0;
    AllowPopups = false;
    for (auto &s : IeProcessIds)
        s.clear();
    IeProcessCount = 0;
    LastIeProcessId.clear();
    PickerCaller = 0;
    PickerField = 0;
}

} // namespace Module1
