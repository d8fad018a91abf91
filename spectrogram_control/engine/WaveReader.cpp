#include "engine/WaveReader.h"

#include <algorithm>
#include <cstring>

namespace sonolux {
namespace {

constexpr std::uint16_t FormatExtensible = 0xFFFE;
constexpr std::uint32_t PcmRecordBytes = 16;
constexpr std::uint32_t PcmWithExtensionBytes = 18;
constexpr std::uint32_t ExtensibleRecordBytes = 40;
constexpr std::uint16_t ExtensibleExtensionBytes = 22;

// The sub-formats of WAVE_FORMAT_EXTENSIBLE share their last 14 bytes with
// KSDATAFORMAT_SUBTYPE_PCM (00000001-0000-0010-8000-00aa00389b71 as stored); the
// first two bytes are the format tag the sub-format stands for.
constexpr std::uint8_t SubFormatTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                            0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

bool IsSampleFormat(std::uint16_t tag) {
    return tag == WaveFormatTag::Pcm || tag == WaveFormatTag::IeeeFloat;
}

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

// The word for a format tag that is not read.
LoadFailure UnreadTag(std::uint16_t tag) {
    constexpr std::uint16_t ALaw = 6;
    constexpr std::uint16_t MuLaw = 7;
    if (tag == ALaw) return LoadFailure::ALaw;
    if (tag == MuLaw) return LoadFailure::MuLaw;
    return LoadFailure::UnsupportedFormat;
}

LoadFailure FromOpenFailure(RegularFile::OpenFailure failure) {
    switch (failure) {
        case RegularFile::OpenFailure::NameNotUsable:
            return LoadFailure::NameNotUsable;
        case RegularFile::OpenFailure::NotFound:
            return LoadFailure::FileNotFound;
        case RegularFile::OpenFailure::NotARegularFile:
            return LoadFailure::NotARegularFile;
        case RegularFile::OpenFailure::None:
        case RegularFile::OpenFailure::CannotBeOpened:
            break;
    }
    return LoadFailure::CannotBeOpened;
}

}  // namespace

bool WaveReader::Open(const std::string& path) {
    m_format = WaveFormat{};
    m_dataOffset = 0;
    m_frameCount = 0;
    m_cutShort = false;
    m_refusal = LoadRefusal{};
    m_headSize = 0;
    if (!m_file.Open(path)) {
        m_refusal.failure = FromOpenFailure(m_file.LastOpenFailure());
        return false;
    }
    m_headSize = m_file.ReadAt(0, m_head.data(), m_head.size());
    m_refusal.failure = WalkChunks();
    if (m_refusal.failure != LoadFailure::None) {
        m_file.Close();
        m_frameCount = 0;
        m_cutShort = false;
        return false;
    }
    return true;
}

LoadFailure WaveReader::WalkChunks() {
    const std::uint64_t fileSize = m_file.Size();
    if (fileSize == 0) return LoadFailure::EmptyFile;
    std::uint8_t header[12];
    const std::size_t got = ReadHeaderAt(0, header, sizeof header);
    // What there is of the header must be the start of a RIFF/WAVE header.
    const bool riff = std::memcmp(header, "RIFF", std::min<std::size_t>(got, 4)) == 0;
    const bool wave =
        got <= 8 || std::memcmp(header + 8, "WAVE", std::min<std::size_t>(got - 8, 4)) == 0;
    if (!riff || !wave) return LoadFailure::NotAWaveFile;
    if (got < sizeof header) return LoadFailure::CutShort;
    // The RIFF size is often wrong in files cut short or written by streaming tools,
    // so the chunks are walked up to the real end of the file instead.
    bool haveFormat = false;
    std::uint64_t offset = sizeof header;
    for (std::uint32_t walked = 0; walked <= MaxChunksBeforeData && offset + 8 <= fileSize;
         ++walked) {
        std::uint8_t chunk[8];
        if (!ReadHeaderExactAt(offset, chunk, sizeof chunk)) return LoadFailure::CutShort;
        const std::uint32_t size = U32(chunk + 4);
        const std::uint64_t body = offset + 8;
        if (HasTag(chunk, "data")) {
            // The samples cannot be read before their format.
            if (!haveFormat) return LoadFailure::DamagedHeader;
            const std::uint64_t present = std::min<std::uint64_t>(size, fileSize - body);
            m_dataOffset = body;
            m_frameCount = static_cast<std::uint32_t>(present / m_format.blockAlign);
            m_cutShort = present < size;
            return LoadFailure::None;
        }
        if (HasTag(chunk, "fmt ")) {
            if (haveFormat) return LoadFailure::DamagedHeader;
            if (body + size > fileSize) return LoadFailure::CutShort;
            const LoadFailure failure = ReadFormatChunk(body, size);
            if (failure != LoadFailure::None) return failure;
            haveFormat = true;
        }
        offset = body + size + (size & 1u);
    }
    // Ending exactly after a chunk, the file simply has no samples; ending inside
    // one, or after a chunk that runs past its end, it was cut.
    if (offset + 8 <= fileSize) return LoadFailure::DamagedHeader;  // too many chunks
    return offset == fileSize ? LoadFailure::NoSamples : LoadFailure::CutShort;
}

LoadFailure WaveReader::ReadFormatChunk(std::uint64_t offset, std::uint32_t chunkSize) {
    std::uint8_t record[ExtensibleRecordBytes];
    const bool known = chunkSize == PcmRecordBytes || chunkSize == PcmWithExtensionBytes ||
                       chunkSize == ExtensibleRecordBytes;
    // Other sizes are refused, but their opening 16 bytes still tell what they hold.
    const std::uint32_t wanted = known ? chunkSize : std::min(chunkSize, PcmRecordBytes);
    if (!ReadHeaderExactAt(offset, record, wanted)) return LoadFailure::CutShort;
    if (wanted < PcmRecordBytes) return LoadFailure::DamagedHeader;
    WaveFormat format = ParsePcmRecord(record);
    m_refusal.bitsPerSample = format.bitsPerSample;
    if (!known) return UnreadTag(format.formatTag);
    if (chunkSize == PcmWithExtensionBytes) {
        if (!IsSampleFormat(format.formatTag)) return UnreadTag(format.formatTag);
        if (U16(record + 16) != 0) return LoadFailure::DamagedHeader;
    } else if (chunkSize == ExtensibleRecordBytes) {
        const std::uint16_t validBits = U16(record + 18);
        if (format.formatTag != FormatExtensible) return UnreadTag(format.formatTag);
        if (U16(record + 16) != ExtensibleExtensionBytes || validBits > format.bitsPerSample) {
            return LoadFailure::DamagedHeader;
        }
        // A sub-format of another family than the wave format tags.
        if (std::memcmp(record + 26, SubFormatTail, 14) != 0) return LoadFailure::UnsupportedFormat;
        format.formatTag = U16(record + 24);
    }
    if (!IsSampleFormat(format.formatTag)) return UnreadTag(format.formatTag);
    if (!HoldsTogether(format)) return LoadFailure::DamagedHeader;
    m_format = format;
    return LoadFailure::None;
}

std::size_t WaveReader::ReadHeaderAt(std::uint64_t offset, void* buffer, std::size_t size) const {
    if (offset <= m_headSize && size <= m_headSize - offset) {
        std::memcpy(buffer, m_head.data() + offset, size);
        return size;
    }
    return m_file.ReadAt(offset, buffer, size);
}

bool WaveReader::ReadFrameBytes(std::uint64_t offset, void* buffer, std::size_t size) const {
    const std::uint64_t frameBytes = std::uint64_t{m_frameCount} * m_format.blockAlign;
    if (offset > frameBytes || size > frameBytes - offset) return false;
    return m_file.ReadExactAt(m_dataOffset + offset, buffer, size);
}

}  // namespace sonolux
