#pragma once

namespace platform {

// Gives the heap's free pages back to the system (a no-op where the C library keeps
// no such pages).
void releaseFreeMemory();

} // namespace platform
