#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/WaveReader.h"

namespace sonolux {

// Every channel of a PCM (8, 12, 16, 24 or 32 bits) or IEEE float (32 or 64
// bits) wave file, read from the start to its last whole frame as interleaved
// floats in -1 .. 1, a bounded block at a time: what it holds besides the open
// file is one block of at most 256 KiB, whatever the file's length or its
// header's claims. Not shared between threads.
class WaveStream {
public:
    // Frames read from the file at a time, at most.
    static constexpr std::size_t BlockBytes = 256 * 1024;

    // Opens `path` (local 8-bit encoding); false, with nothing open, for a file the
    // reader refuses, one without frames, a sample width it cannot read, or a frame
    // wider than one block.
    bool Open(const std::string& path);

    std::uint32_t SampleRate() const { return m_reader.Format().samplesPerSecond; }
    std::uint16_t Channels() const { return m_reader.Format().channels; }
    std::uint32_t FrameCount() const { return m_reader.FrameCount(); }
    // Frames handed out so far.
    std::uint32_t FramesRead() const { return m_next; }

    // Appends up to `frames` frames (Channels() floats each) to `out`. Returns the
    // frames appended: fewer only at the end of the file, or when the file can no
    // longer be read (it was cut short meanwhile), after which it hands out nothing.
    std::size_t Read(std::size_t frames, std::vector<float>& out);

private:
    WaveReader m_reader;
    std::uint32_t m_next = 0;
    bool m_failed = false;
    std::size_t m_bytesPerSample = 0;
    bool m_float = false;
    std::vector<std::uint8_t> m_block;
};

}  // namespace sonolux
