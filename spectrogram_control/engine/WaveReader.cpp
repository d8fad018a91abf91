#include "WaveReader.h"

#include <algorithm>
#include <cstring>

namespace sonolux {
namespace {

constexpr std::uint16_t FormatPcm = 1;
constexpr std::uint16_t FormatExtensible = 0xFFFE;
constexpr std::uint32_t PcmRecordBytes = 16;
constexpr std::uint32_t PcmWithExtensionBytes = 18;
constexpr std::uint32_t ExtensibleRecordBytes = 40;
constexpr std::uint16_t ExtensibleExtensionBytes = 22;

// KSDATAFORMAT_SUBTYPE_PCM: 00000001-0000-0010-8000-00aa00389b71 as stored.
constexpr std::uint8_t PcmSubFormat[16] = {0x01, 0x00, 0x00, 0x00, 0x00, 0x00, 0x10, 0x00,
                                           0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

std::uint16_t U16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}

std::uint32_t U32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(U16(p)) | static_cast<std::uint32_t>(U16(p + 2)) << 16;
}

bool HasTag(const std::uint8_t* p, const char* tag) {
    return std::memcmp(p, tag, 4) == 0;
}

WaveFormat ParsePcmRecord(const std::uint8_t* p) {
    WaveFormat format;
    format.formatTag = U16(p);
    format.channels = U16(p + 2);
    format.samplesPerSecond = U32(p + 4);
    format.averageBytesPerSecond = U32(p + 8);
    format.blockAlign = U16(p + 12);
    format.bitsPerSample = U16(p + 14);
    return format;
}

// The block align must be exactly the channels times the bytes that hold one
// sample, or the frames cannot be split into channels the way the header claims.
bool HoldsTogether(const WaveFormat& format) {
    if (format.channels == 0 || format.bitsPerSample == 0) return false;
    const std::uint32_t containerBytes = (format.bitsPerSample + 7u) / 8u;
    return format.blockAlign == format.channels * containerBytes;
}

}  // namespace

bool WaveReader::ReadExact(std::uint64_t offset, void* buffer, std::size_t size) {
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(offset));
    if (!m_file) return false;
    m_file.read(static_cast<char*>(buffer), static_cast<std::streamsize>(size));
    return m_file.gcount() == static_cast<std::streamsize>(size);
}

bool WaveReader::Open(const std::string& path) {
    m_file.close();
    m_format = WaveFormat{};
    m_frameCount = 0;
    m_file.open(path, std::ios::binary);
    if (!m_file.is_open()) return false;
    m_file.seekg(0, std::ios::end);
    const std::streamoff end = m_file.tellg();
    if (end < 0 || !WalkChunks(static_cast<std::uint64_t>(end))) {
        m_file.close();
        m_frameCount = 0;
        return false;
    }
    return true;
}

bool WaveReader::WalkChunks(std::uint64_t fileSize) {
    std::uint8_t header[12];
    if (fileSize < sizeof header || !ReadExact(0, header, sizeof header)) return false;
    if (!HasTag(header, "RIFF") || !HasTag(header + 8, "WAVE")) return false;
    // The RIFF size is often wrong in files cut short or written by streaming tools,
    // so the chunks are walked up to the real end of the file instead.
    bool haveFormat = false;
    std::uint64_t offset = sizeof header;
    while (offset + 8 <= fileSize) {
        std::uint8_t chunk[8];
        if (!ReadExact(offset, chunk, sizeof chunk)) return false;
        const std::uint32_t size = U32(chunk + 4);
        const std::uint64_t body = offset + 8;
        if (HasTag(chunk, "data")) {
            if (!haveFormat) return false;  // the samples cannot be read before their format
            const std::uint64_t present = std::min<std::uint64_t>(size, fileSize - body);
            m_dataOffset = body;
            m_frameCount = static_cast<std::uint32_t>(present / m_format.blockAlign);
            return true;
        }
        if (HasTag(chunk, "fmt ")) {
            if (haveFormat || body + size > fileSize) return false;
            if (!ReadFormatChunk(body, size)) return false;
            haveFormat = true;
        }
        offset = body + size + (size & 1u);
    }
    return false;
}

bool WaveReader::ReadFormatChunk(std::uint64_t offset, std::uint32_t chunkSize) {
    if (chunkSize != PcmRecordBytes && chunkSize != PcmWithExtensionBytes &&
        chunkSize != ExtensibleRecordBytes) {
        return false;
    }
    std::uint8_t record[ExtensibleRecordBytes];
    if (!ReadExact(offset, record, chunkSize)) return false;
    WaveFormat format = ParsePcmRecord(record);
    if (chunkSize == PcmWithExtensionBytes) {
        if (format.formatTag != FormatPcm || U16(record + 16) != 0) return false;
    } else if (chunkSize == ExtensibleRecordBytes) {
        const std::uint16_t validBits = U16(record + 18);
        if (format.formatTag != FormatExtensible || U16(record + 16) != ExtensibleExtensionBytes ||
            validBits > format.bitsPerSample || std::memcmp(record + 24, PcmSubFormat, 16) != 0) {
            return false;
        }
        format.formatTag = FormatPcm;
    }
    if (format.formatTag != FormatPcm || !HoldsTogether(format)) return false;
    m_format = format;
    return true;
}

std::uint32_t WaveReader::ReadFrames(std::uint32_t maxFrames, std::vector<std::uint8_t>& bytes) {
    const std::uint32_t frames = std::min(maxFrames, m_frameCount);
    const std::size_t byteCount = static_cast<std::size_t>(frames) * m_format.blockAlign;
    if (!m_file.is_open() || frames == 0) return 0;
    std::vector<std::uint8_t> read(byteCount);
    if (!ReadExact(m_dataOffset, read.data(), byteCount)) return 0;
    bytes.swap(read);
    return frames;
}

}  // namespace sonolux
