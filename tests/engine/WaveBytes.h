#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds RIFF/WAVE files byte by byte, including ones no writer should produce.
class WaveBytes {
public:
    WaveBytes& Tag(const char* tag) {
        m_bytes.insert(m_bytes.end(), tag, tag + 4);
        return *this;
    }
    WaveBytes& U16(std::uint32_t value) {
        m_bytes.push_back(static_cast<std::uint8_t>(value));
        m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
        return *this;
    }
    WaveBytes& U32(std::uint32_t value) { return U16(value & 0xFFFF).U16(value >> 16); }
    WaveBytes& Bytes(const std::vector<std::uint8_t>& bytes) {
        m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end());
        return *this;
    }
    // "RIFF", a size (the true one unless given), "WAVE"; call first.
    WaveBytes& RiffHeader() { return Tag("RIFF").U32(0).Tag("WAVE"); }
    // A 16-byte PCM format chunk; block align and byte rate follow from the others
    // unless `blockAlign` is given.
    WaveBytes& Format(std::uint16_t channels, std::uint16_t bits, int blockAlign = -1,
                      std::uint16_t tag = 1, std::uint32_t chunkSize = 16) {
        const std::uint32_t align = blockAlign >= 0 ? static_cast<std::uint32_t>(blockAlign)
                                                    : channels * ((bits + 7u) / 8u);
        return Tag("fmt ")
            .U32(chunkSize)
            .U16(tag)
            .U16(channels)
            .U32(8000)
            .U32(8000 * align)
            .U16(align)
            .U16(bits);
    }
    WaveBytes& Data(const std::vector<std::uint8_t>& bytes, std::int64_t declaredSize = -1) {
        Tag("data").U32(declaredSize >= 0 ? static_cast<std::uint32_t>(declaredSize)
                                          : static_cast<std::uint32_t>(bytes.size()));
        Bytes(bytes);
        if (declaredSize < 0 && bytes.size() % 2 == 1) m_bytes.push_back(0);
        return *this;
    }
    WaveBytes& Chunk(const char* tag, const std::vector<std::uint8_t>& body) {
        Tag(tag).U32(static_cast<std::uint32_t>(body.size())).Bytes(body);
        if (body.size() % 2 == 1) m_bytes.push_back(0);
        return *this;
    }
    // The whole file, with the RIFF size filled in.
    std::string Text() const {
        std::string text(m_bytes.begin(), m_bytes.end());
        if (text.size() >= 8 && text.compare(0, 4, "RIFF") == 0) {
            const auto size = static_cast<std::uint32_t>(text.size() - 8);
            for (int i = 0; i < 4; ++i) text[4 + i] = static_cast<char>(size >> (8 * i));
        }
        return text;
    }

private:
    std::vector<std::uint8_t> m_bytes;
};
