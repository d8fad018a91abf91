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
    // come from the heap and are reused, and up to 64 MiB freed at the heap's
    // top waits there for the next batch instead of going back.
    mallopt(M_MMAP_THRESHOLD, 4 * 1024 * 1024);
    mallopt(M_TRIM_THRESHOLD, 64 * 1024 * 1024);
#endif
}
