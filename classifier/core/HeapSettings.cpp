#include "core/HeapSettings.h"

#if __has_include(<malloc.h>)
#include <malloc.h>  // also what says whether this is glibc
#endif

void KeepHeapThresholdsSteady() {
#if defined(__GLIBC__) && defined(M_MMAP_THRESHOLD) && defined(M_TRIM_THRESHOLD)
    // Left to itself glibc raises its mmap threshold to the largest block freed
    // so far and its trim threshold to twice that, so the heap's behaviour
    // depends on what happened earlier in the run. Enlarging the window once
    // and restoring it (its bigger backing store freed) was enough: from then
    // on every Next Batch of 300 whole 10 s recordings took its 275 MB of
    // samples from the heap's top, gave it back to the system and faulted it
    // in again as fresh pages, 69,000 page faults and three times the time per
    // batch. Fixed values stop the drift (setting either turns it off): blocks
    // up to 4 MiB (a recording's samples, a cell's picture, a window's grab)
    // come from the heap and are reused, and what a batch frees at the heap's
    // top waits there for the next one instead of going back. That must hold
    // a whole batch (300 whole recordings are ~300 MB): with 64 MiB a batch's
    // freed samples still went back and came again as 64,000 page faults.
    // Above 512 MiB free at the top, the rest goes back to the system.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 512 * 1024 * 1024);
#if defined(M_ARENA_MAX)
    // Recordings are read on the control's worker threads, and each would get a
    // heap of its own, which glibc unmaps whole as soon as it is empty, whatever
    // the trim threshold: a batch's samples came back as 69,000 page faults
    // again. In the one heap they are kept as above; its lock costs nothing
    // next to a read of a recording or a picture's transforms.
    mallopt(M_ARENA_MAX, 1);
#endif
#endif
}
