#include "foundation/Sys.h"

#include <sys/mman.h>

void SysAdviseHugePages(void* start, std::size_t bytes)
{
#ifdef MADV_HUGEPAGE
    // A refusal (no huge pages in this kernel) leaves ordinary pages: nothing to report.
    (void)madvise(start, bytes, MADV_HUGEPAGE);
#else
    (void)start;
    (void)bytes;
#endif
}
