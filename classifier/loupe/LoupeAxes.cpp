#include "loupe/LoupeAxes.h"

namespace {

double Seconds(std::uint32_t sampleRate, std::int64_t frames) {
    return sampleRate > 0 && frames > 0 ? static_cast<double>(frames) / sampleRate : 0;
}

double TopKilohertz(std::uint32_t sampleRate, std::int64_t frames) {
    return sampleRate > 0 && frames > 0 ? sampleRate / 2000.0 : 0;
}

}  // namespace

LoupeAxes::LoupeAxes(const QRect& picture, std::uint32_t sampleRate, std::int64_t frames)
    : m_picture(picture),
      m_time(Seconds(sampleRate, frames), picture.left(),
             static_cast<double>(picture.left()) + picture.width()),
      m_frequency(TopKilohertz(sampleRate, frames),
                  static_cast<double>(picture.top()) + picture.height(), picture.top()) {}

QString LoupeAxes::Readout(QPoint position) const {
    if (!m_picture.contains(position) || m_time.High() <= 0) return {};
    const double seconds = m_time.ValueAt(position.x() + 0.5);
    const double kiloHertz = m_frequency.ValueAt(position.y() + 0.5);
    return QStringLiteral("%1 s, %2 kHz")
        .arg(m_time.ValueText(seconds), m_frequency.ValueText(kiloHertz));
}
