#pragma once

// Fixes the C library's heap thresholds for the whole run, so that a batch's
// buffers are taken from and given back to the heap the same way in the
// hundredth batch as in the first. Call once, first thing in main.
void KeepHeapThresholdsSteady();
