#pragma once

#include <string>

#include "engine/SpectrogramParameters.h"
#include "engine/WaveLoader.h"

namespace sonolux {

// What sonolux-grid was asked to do, as read from its command line.
struct GridOptions {
    bool printSamples = false;   // --samples: the loaded samples instead of the grid
    bool printInfo = false;      // --info: what the load found instead of the grid
    bool printAnalysis = false;  // --analyse: the recording's fingerprint and activity
    LoadOptions load;            // --frame-limit, --float
    int widthPx = 150;           // --width: the control's width in pixels
    int heightPx = 100;          // --height: the control's height in pixels
    SpectrogramParameters parameters;
    PictureOptions picture;  // --every-sample, --auto-contrast
    std::string file;        // the wave file; empty stands for an empty Filename
};

// Reads `argv[1 ..]` into `options`. Returns an empty string on success, otherwise
// the message that explains what is wrong with the command line.
std::string ParseGridOptions(int argc, const char* const* argv, GridOptions& options);

// The usage text, for --help and after a command line error.
std::string GridUsage();

}  // namespace sonolux
