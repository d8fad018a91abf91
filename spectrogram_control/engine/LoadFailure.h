#pragma once

#include <cstdint>
#include <string>

namespace sonolux {

// Why a load refused its file, as far as the reader and the loader can tell.
enum class LoadFailure {
    None,           // the file was read, or there was no file to read
    NameNotUsable,  // the name holds a NUL byte, or names no file exactly
    FileNotFound,
    NotARegularFile,    // a folder, a named pipe, a device, a socket
    CannotBeOpened,     // no permission, or another error of the system
    EmptyFile,          // no bytes at all
    NotAWaveFile,       // no RIFF/WAVE header
    CutShort,           // ends inside its header or before the samples it declares
    NoSamples,          // a header without a data chunk, or one without a whole frame
    DamagedHeader,      // a format that does not hold together, chunks out of order
    UnsupportedFormat,  // a compressed or unknown format
    ALaw,               // G.711 A-law
    MuLaw,              // G.711 mu-law
    Float,              // IEEE float, read only when asked for
    UnsupportedWidth,   // PCM of a sample width the loader does not take
    OutOfMemory,
};

// A refusal, with the bits per sample the header stated (0 when it was not read).
struct LoadRefusal {
    LoadFailure failure = LoadFailure::None;
    std::uint16_t bitsPerSample = 0;

    bool operator==(const LoadRefusal& other) const {
        return failure == other.failure && bitsPerSample == other.bitsPerSample;
    }
    bool operator!=(const LoadRefusal& other) const { return !(*this == other); }
};

// A few words for the user ("not a wave file", "32-bit float", "cut short"); empty
// for LoadFailure::None.
std::string LoadRefusalText(const LoadRefusal& refusal);

}  // namespace sonolux
