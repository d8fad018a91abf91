#include "tools/GridOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace sonolux {
namespace {

bool ParseInteger(const std::string& text, long minimum, long maximum, long& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const long parsed = std::strtol(text.c_str(), &end, 10);
    if (errno != 0 || *end != '\0' || parsed < minimum || parsed > maximum) return false;
    value = parsed;
    return true;
}

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    errno = 0;
    char* end = nullptr;
    const float parsed = std::strtof(text.c_str(), &end);
    if (errno == ERANGE || *end != '\0') return false;
    value = parsed;
    return true;
}

// Applies one option that takes a value. Returns false if `name` is no such option
// or `text` is not a valid value for it.
bool ApplyValue(const std::string& name, const std::string& text, GridOptions& options,
                bool& known) {
    constexpr long int16Min = std::numeric_limits<std::int16_t>::min();
    constexpr long int16Max = std::numeric_limits<std::int16_t>::max();
    constexpr long int32Min = std::numeric_limits<std::int32_t>::min();
    constexpr long int32Max = std::numeric_limits<std::int32_t>::max();
    SpectrogramParameters& p = options.parameters;
    long value = 0;
    known = true;
    if (name == "--width" || name == "--height") {
        if (!ParseInteger(text, 0, int32Max, value)) return false;
        (name == "--width" ? options.widthPx : options.heightPx) = static_cast<int>(value);
    } else if (name == "--fft-choice" || name == "--frame-choice" || name == "--window") {
        if (!ParseInteger(text, int16Min, int16Max, value)) return false;
        const auto choice = static_cast<std::int16_t>(value);
        if (name == "--fft-choice") p.fftSizeChoice = choice;
        if (name == "--frame-choice") p.frameLengthChoice = choice;
        if (name == "--window") p.windowFunctionChoice = choice;
    } else if (name == "--frame-limit") {
        if (!ParseInteger(text, 1, LargestFrameLimit, value)) return false;
        options.load.frameLimit = static_cast<std::uint32_t>(value);
    } else if (name == "--hop") {
        if (!ParseInteger(text, int32Min, int32Max, value)) return false;
        p.hopSize = static_cast<std::int32_t>(value);
    } else if (name == "--pmin" || name == "--pmax") {
        return ParseFloat(text, name == "--pmin" ? p.powerMin : p.powerMax);
    } else {
        known = false;
        return false;
    }
    return true;
}

}  // namespace

std::string GridUsage() {
    return "usage: sonolux-grid [options] FILE\n"
           "Loads the wave FILE as the spectrogram control does (\"\" stands for no file) and\n"
           "prints the control's grid as a plain PGM image (P2), highest frequency bin first.\n"
           "  --samples          print the loaded 16-bit samples instead, one per line\n"
           "  --info             print what the load found instead, one key=value per line:\n"
           "                     loaded, rate, channels, bits, frames, loaded_frames, and\n"
           "                     error (why the file was refused; empty when it was read)\n"
           "  --analyse          print the recording's analysis instead, key=value on one\n"
           "                     line: status, activity_db, then the fingerprint f0 ..\n"
           "                     (the whole file up to 4194304 frames, float samples too)\n"
           "  --frame-limit N    load at most N frames, 1 to 4194304 (default 48000)\n"
           "  --float            read IEEE float wave files too\n"
           "  --width W          control width in pixels (default 150)\n"
           "  --height H         control height in pixels (default 100)\n"
           "  --fft-choice K     FFT size 32 * 2^K points (default 3)\n"
           "  --frame-choice K   frame length 32 * 2^K samples (default 2)\n"
           "  --hop H            smallest hop between frames in samples (default 64)\n"
           "  --window K         0 Hamming, 1 Hanning, 2 Rectangular, 3 Blackman, 4 Bartlett"
           " (default 0)\n"
           "  --pmin DB          level drawn white (default 20)\n"
           "  --pmax DB          level drawn black (default 120)\n"
           "  --every-sample     one column per pixel of the width, each the loudest of the\n"
           "                     frames over its samples, so no sample falls between frames\n"
           "  --auto-contrast    grey scale from the recording's background to its loudest bin\n"
           "                     instead of --pmin to --pmax\n"
           "  -h, --help         print this help and exit\n"
           "  -v, --version      print the version and exit\n"
           "A file the control refuses prints REFUSED (with --info: loaded=0 and zeros) and\n"
           "exits with status 3.\n";
}

std::string ParseGridOptions(int argc, const char* const* argv, GridOptions& options) {
    bool haveFile = false;
    bool optionsEnded = false;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        if (!optionsEnded && argument == "--") {
            optionsEnded = true;
        } else if (!optionsEnded && argument == "--samples") {
            options.printSamples = true;
        } else if (!optionsEnded && argument == "--info") {
            options.printInfo = true;
        } else if (!optionsEnded && argument == "--analyse") {
            options.printAnalysis = true;
        } else if (!optionsEnded && argument == "--float") {
            options.load.floatSamples = true;
        } else if (!optionsEnded && argument == "--every-sample") {
            options.picture.everySample = true;
        } else if (!optionsEnded && argument == "--auto-contrast") {
            options.picture.autoContrast = true;
        } else if (!optionsEnded && argument.size() > 2 && argument.compare(0, 2, "--") == 0) {
            std::string name = argument;
            std::string value;
            const auto equals = argument.find('=');
            if (equals != std::string::npos) {
                name = argument.substr(0, equals);
                value = argument.substr(equals + 1);
            } else if (i + 1 < argc) {
                value = argv[++i];
            } else {
                return "missing value for " + argument;
            }
            bool known = false;
            if (!ApplyValue(name, value, options, known)) {
                return known ? "invalid value for " + name + ": " + value
                             : "unknown option " + name;
            }
        } else if (!optionsEnded && argument.size() > 1 && argument[0] == '-') {
            // Short options are only -h and -v, answered before parsing; a
            // FILE that starts with - follows --.
            return "unknown option " + argument;
        } else if (!haveFile) {
            options.file = argument;
            haveFile = true;
        } else {
            return "more than one FILE given";
        }
    }
    if (!haveFile) return "no FILE given";
    if (options.printSamples && options.printInfo) return "--samples and --info exclude each other";
    return {};
}

}  // namespace sonolux
