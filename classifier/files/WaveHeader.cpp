#include "files/WaveHeader.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "files/FileWrites.h"

namespace WaveHeader {
namespace {

// Formats whose block alignment is one frame of samples.
constexpr std::uint16_t Pcm = 1;
constexpr std::uint16_t IeeeFloat = 3;
constexpr std::uint16_t Extensible = 0xFFFE;

std::uint16_t U16(const unsigned char* bytes) {
    return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t U32(const unsigned char* bytes) {
    return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
           static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

bool ReadAt(int fd, off_t offset, unsigned char* buffer, std::size_t size) {
    return FileWrites::ReadAllAt(fd, offset, reinterpret_cast<char*>(buffer), size);
}

struct Format {
    std::uint16_t channels = 0;
    std::uint32_t sampleRate = 0;
    std::uint16_t blockAlign = 0;
};

// The format chunk's fields, when they describe frames of whole PCM or float
// samples whose size the block alignment matches.
bool ReadFormat(int fd, off_t offset, std::uint32_t chunkSize, Format& format) {
    if (chunkSize < 16) return false;
    unsigned char bytes[40] = {};
    const std::size_t wanted = chunkSize >= 40 ? 40 : 16;
    if (!ReadAt(fd, offset, bytes, wanted)) return false;
    std::uint16_t tag = U16(bytes);
    if (tag == Extensible) {
        if (wanted < 40) return false;
        tag = U16(bytes + 24);  // the first two bytes of the sub-format's GUID
    }
    if (tag != Pcm && tag != IeeeFloat) return false;
    format.channels = U16(bytes + 2);
    format.sampleRate = U32(bytes + 4);
    format.blockAlign = U16(bytes + 12);
    const std::uint16_t bits = U16(bytes + 14);
    return format.channels > 0 && format.sampleRate > 0 && bits > 0 && bits <= 64 &&
           format.blockAlign == format.channels * ((bits + 7u) / 8u);
}

}  // namespace

Info Read(int fd, off_t size) {
    Info info;
    unsigned char riff[12];
    if (size < 12 || !ReadAt(fd, 0, riff, sizeof riff)) return info;
    if (std::memcmp(riff, "RIFF", 4) != 0 || std::memcmp(riff + 8, "WAVE", 4) != 0) return info;

    Format format;
    bool formatSeen = false;
    off_t offset = 12;
    for (int chunk = 0; chunk < MaxChunks && offset + 8 <= size; ++chunk) {
        unsigned char header[8];
        if (!ReadAt(fd, offset, header, sizeof header)) return info;
        const std::uint32_t chunkSize = U32(header + 4);
        const off_t body = offset + 8;
        if (std::memcmp(header, "fmt ", 4) == 0) {
            if (!ReadFormat(fd, body, chunkSize, format)) return info;
            formatSeen = true;
        } else if (std::memcmp(header, "data", 4) == 0) {
            if (!formatSeen) return info;
            // A recorder that was stopped short leaves a size it never wrote.
            const off_t held = size - body < off_t(chunkSize) ? size - body : off_t(chunkSize);
            info.readable = true;
            info.sampleRate = format.sampleRate;
            info.frames = held / format.blockAlign;
            return info;
        }
        // Chunks are padded to an even size.
        offset = body + off_t(chunkSize) + (chunkSize & 1u);
    }
    return info;
}

}  // namespace WaveHeader
