// The machine the process runs on: the processors it may use and memory
// on a boundary of the caller's choice.
#include "foundation/Sys.h"

#include <sched.h>

#include <algorithm>
#include <cstdlib>
#include <thread>

unsigned SysUsableProcessors()
{
    cpu_set_t allowed;
    CPU_ZERO(&allowed);
    if (::sched_getaffinity(0, sizeof allowed, &allowed) == 0)
        if (const int count = CPU_COUNT(&allowed); count > 0) return static_cast<unsigned>(count);
    return std::max(1u, std::thread::hardware_concurrency());
}

void* SysAlignedAlloc(std::size_t alignment, std::size_t bytes)
{
    if (alignment == 0 || (alignment & (alignment - 1)) != 0) return nullptr;
    // The system takes no boundary below a pointer's; any power of two
    // above it is one of the pointer's too.
    alignment = std::max(alignment, sizeof(void*));
    void* memory = nullptr;
    if (::posix_memalign(&memory, alignment, bytes == 0 ? 1 : bytes) != 0) return nullptr;
    return memory;
}

void SysAlignedFree(void* memory) { std::free(memory); }
