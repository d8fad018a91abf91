#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/LoadFailure.h"
#include "engine/RegularFile.h"

namespace sonolux {

// The format tags of the sample formats the reader reports.
namespace WaveFormatTag {
constexpr std::uint16_t Pcm = 1;
constexpr std::uint16_t IeeeFloat = 3;
}  // namespace WaveFormatTag

// The 16-byte wave format record as a RIFF/WAVE format chunk stores it.
struct WaveFormat {
    std::uint16_t formatTag = 0;  // WaveFormatTag::Pcm or WaveFormatTag::IeeeFloat
    std::uint16_t channels = 0;
    std::uint32_t samplesPerSecond = 0;
    std::uint32_t averageBytesPerSecond = 0;
    std::uint16_t blockAlign = 0;  // bytes of one sample frame, all channels
    std::uint16_t bitsPerSample = 0;
};

// Reads the sample frames of a PCM or IEEE float RIFF/WAVE file. Open() walks the chunks with every
// size checked against the file (pad bytes after odd-sized chunks, unknown chunks
// skipped), takes the first format chunk and the first data chunk after it, and
// refuses a file whose format does not hold together. Only regular files are read
// (see RegularFile), nothing past the end of the file is read, and nothing is
// allocated by a size the file declares. The file stays open from Open() until the
// reader is destroyed or opened again.
class WaveReader {
public:
    // At most this many chunks are walked before the data chunk: a file cut into
    // more is refused rather than walked header by header for as long as it is.
    static constexpr std::uint32_t MaxChunksBeforeData = 4096;

    // Opens `path` read-only. Returns false (and holds nothing) unless the file is a
    // RIFF/WAVE file whose format is PCM or IEEE float, given as the 16-byte record, as
    // an 18-byte record with an empty extension, or as WAVE_FORMAT_EXTENSIBLE with the
    // PCM or the float sub-format, with at least one channel and a block align of the
    // channel count times the bytes that hold one sample, and whose data chunk follows
    // the format. Which sample widths can be read is the loader's business.
    bool Open(const std::string& path);
    // Why the last Open() failed (None after one that succeeded), with the bits per
    // sample of the format record when one was read.
    const LoadRefusal& Refusal() const { return m_refusal; }

    // The format as the 16-byte record, format tag 1 (PCM) or 3 (IEEE float), also
    // for WAVE_FORMAT_EXTENSIBLE. Valid after Open() succeeded.
    const WaveFormat& Format() const { return m_format; }
    // Bytes of one sample frame (the block align, never 0).
    std::uint32_t FrameBytes() const { return m_format.blockAlign; }
    // Whole frames present in the file's data chunk; a data chunk declaring more
    // bytes than the file holds counts only the frames that are there.
    std::uint32_t FrameCount() const { return m_frameCount; }
    // Whether the data chunk declares more bytes than the file holds.
    bool IsCutShort() const { return m_cutShort; }
    // The identity of the file this reader holds open.
    std::optional<FileIdentity> Identity() const { return m_file.Identity(); }
    bool OnLocalFileSystem() const { return m_file.OnLocalFileSystem(); }

    // Copies the `size` raw bytes that start `offset` bytes into the sample frames
    // to `buffer` (at least `size` bytes). Returns false unless all of them lie
    // within the FrameCount() whole frames and were read.
    bool ReadFrameBytes(std::uint64_t offset, void* buffer, std::size_t size) const;

private:
    LoadFailure WalkChunks();
    LoadFailure ReadFormatChunk(std::uint64_t offset, std::uint32_t chunkSize);
    // RegularFile::ReadAt for the header: from the file's first bytes as read at
    // Open() where they hold what is asked for.
    std::size_t ReadHeaderAt(std::uint64_t offset, void* buffer, std::size_t size) const;
    bool ReadHeaderExactAt(std::uint64_t offset, void* buffer, std::size_t size) const {
        return ReadHeaderAt(offset, buffer, size) == size;
    }

    RegularFile m_file;
    // The file's first bytes, read with one call: read one at a time, the four
    // parts of a plain header took a tenth of a small recording's load.
    std::array<std::uint8_t, 4096> m_head{};
    std::size_t m_headSize = 0;
    WaveFormat m_format;
    std::uint64_t m_dataOffset = 0;
    std::uint32_t m_frameCount = 0;
    bool m_cutShort = false;
    LoadRefusal m_refusal;
};

}  // namespace sonolux
