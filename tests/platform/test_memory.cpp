#include "platform/Memory.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <vector>

#include <unistd.h>

namespace {

long residentKiB()
{
    std::ifstream statm("/proc/self/statm");
    long size = 0, resident = 0;
    statm >> size >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

} // namespace

// The browser calls this once a page has settled; the heap a load leaves behind must
// really shrink, on the C library the program ships with.
TEST(Memory, FreedHeapPagesGoBackToTheSystem)
{
#if !defined(__GLIBC__)
    GTEST_SKIP() << "only the GNU C library keeps freed heap pages resident";
#elif defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer's allocator stands in for the C library's heap";
#else
    constexpr int kBlocks = 4096;
    constexpr size_t kBlock = 16 * 1024; // well under the size that gets pages of its own
    std::vector<char *> blocks;
    blocks.reserve(kBlocks);
    volatile char seen = 0;
    for (int i = 0; i < kBlocks; ++i) {
        auto *block = static_cast<char *>(std::malloc(kBlock));
        ASSERT_NE(block, nullptr);
        std::memset(block, i & 0x7f, kBlock);
        seen = seen + block[kBlock - 1];
        blocks.push_back(block);
    }
    // The last block, kept, lies above the freed ones and stops the heap's top from
    // shrinking by itself: only a trim can hand the pages below it back.
    char *keep = blocks.back();
    blocks.pop_back();
    for (char *block : blocks)
        std::free(block);

    const long before = residentKiB();
    platform::releaseFreeMemory();
    const long after = residentKiB();
    std::free(keep);

    const long freedKiB = long(kBlocks - 1) * long(kBlock) / 1024;
    EXPECT_GT(before - after, freedKiB / 2) << "resident before " << before << " KiB, after " << after << " KiB";
#endif
}
