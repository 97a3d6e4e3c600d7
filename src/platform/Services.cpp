#include "platform/Services.h"

#include <cstdlib>
#include <cstdio>

namespace platform {

namespace {
const Services *installed = nullptr;
}

void install(const Services &s) { installed = &s; }

const Services &services()
{
    if (!installed) {
        std::fputs("platform services used before install()\n", stderr);
        std::abort();
    }
    return *installed;
}

} // namespace platform
