#pragma once

#include <sys/types.h>
#include <cstdint>

// What the header of a wave file says of its length: enough to name its
// duration, without reading its samples. Only the chunk headers before the
// sample data are read, at most MaxChunks of them, each checked against the
// file's real size; a chunk's body is skipped, never read, except the format's
// first 40 bytes.
namespace WaveHeader {

constexpr int MaxChunks = 256;

struct Info {
    bool readable = false;         // a RIFF/WAVE file of PCM or float samples with a sane format
    std::uint32_t sampleRate = 0;  // frames per second
    std::int64_t frames = 0;       // whole frames of the data the file really holds

    double Seconds() const { return sampleRate > 0 ? double(frames) / sampleRate : 0.0; }
};

// Reads the header of the open file `fd` of `size` bytes through pread(2), so
// the file's position does not matter. An unreadable header gives readable
// false; a data chunk that claims more than the file holds counts what is there.
Info Read(int fd, off_t size);

}  // namespace WaveHeader
