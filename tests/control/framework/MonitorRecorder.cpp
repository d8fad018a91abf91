#include "tests/control/framework/MonitorRecorder.h"

#include <QDeadlineTimer>
#include <cstdlib>
#include <cstring>

namespace {

// Generous: parec delivers within milliseconds of its start.
constexpr int StartDeadlineMilliseconds = 20000;
constexpr int LoudSample = 3277;  // a tenth of full scale

}  // namespace

MonitorRecorder::MonitorRecorder(const PrivateSoundServer& server) {
    m_parec.setProcessEnvironment(server.Environment());
    // A short latency, so that what has arrived is close to what the sink
    // plays now.
    m_parec.start(
        QStringLiteral("parec"),
        {QStringLiteral("-d"), QStringLiteral("null.monitor"), QStringLiteral("--format=s16le"),
         QStringLiteral("--rate=48000"), QStringLiteral("--channels=1"), QStringLiteral("--raw"),
         QStringLiteral("--latency-msec=5")});
    if (!m_parec.waitForStarted()) {
        m_failure = QStringLiteral("parec does not start: ") + m_parec.errorString();
        return;
    }
    const QDeadlineTimer deadline(StartDeadlineMilliseconds);
    while (Pump() == 0) {
        if (deadline.hasExpired() || !m_parec.waitForReadyRead(100)) {
            if (m_parec.state() == QProcess::NotRunning || deadline.hasExpired()) {
                m_failure = QStringLiteral("parec records nothing: ") +
                            QString::fromLocal8Bit(m_parec.readAllStandardError());
                return;
            }
        }
    }
}

MonitorRecorder::~MonitorRecorder() {
    if (m_parec.state() == QProcess::NotRunning) return;
    m_parec.terminate();
    if (!m_parec.waitForFinished(StartDeadlineMilliseconds)) {
        m_parec.kill();
        m_parec.waitForFinished();
    }
}

std::size_t MonitorRecorder::Pump() {
    m_parec.waitForReadyRead(0);
    m_partial += m_parec.readAllStandardOutput();
    const std::size_t count = static_cast<std::size_t>(m_partial.size()) / 2;
    if (count == 0) return m_samples.size();
    const std::size_t old = m_samples.size();
    m_samples.resize(old + count);
    std::memcpy(m_samples.data() + old, m_partial.constData(), count * 2);
    m_partial.remove(0, static_cast<qsizetype>(count * 2));
    return m_samples.size();
}

RecordedSound FindSound(const std::vector<std::int16_t>& samples, std::size_t from) {
    RecordedSound sound;
    for (std::size_t i = from; i < samples.size(); ++i) {
        if (std::abs(samples[i]) < LoudSample) continue;
        if (!sound.heard) sound.onset = i;
        sound.heard = true;
        sound.end = i + 1;
    }
    if (!sound.heard) return sound;
    int crossings = 0;
    std::size_t first = 0;
    std::size_t last = 0;
    for (std::size_t i = sound.onset + 1; i < sound.end; ++i) {
        if ((samples[i - 1] < 0) == (samples[i] < 0)) continue;
        if (crossings == 0) first = i;
        last = i;
        ++crossings;
    }
    if (crossings > 1) {
        sound.frequency =
            (crossings - 1) / 2.0 / (static_cast<double>(last - first) / MonitorRecorder::Rate);
    }
    return sound;
}
