#pragma once

#include <QProcess>
#include <QString>
#include <cstdint>
#include <vector>

#include "tests/control/framework/PrivateSoundServer.h"

// What a private sound server's null sink plays, recorded from its monitor by
// parec as mono 16-bit samples at 48 kHz; the sink runs on whether anything
// plays or not, so sample i is i / 48000 s after the recording began. Stopped
// by its process id when the object goes.
class MonitorRecorder {
public:
    static constexpr int Rate = 48000;

    explicit MonitorRecorder(const PrivateSoundServer& server);
    ~MonitorRecorder();
    MonitorRecorder(const MonitorRecorder&) = delete;
    MonitorRecorder& operator=(const MonitorRecorder&) = delete;

    // Empty when samples arrive; otherwise why not.
    QString Failure() const { return m_failure; }
    // Takes what parec has written so far; returns the samples recorded.
    std::size_t Pump();
    const std::vector<std::int16_t>& Samples() const { return m_samples; }

private:
    QProcess m_parec;
    std::vector<std::int16_t> m_samples;
    QByteArray m_partial;  // an odd byte left from the last read
    QString m_failure;
};

// Where the sound in `samples` from `from` on lies: the first and the last
// sample above a tenth of full scale, and its frequency by zero crossings.
struct RecordedSound {
    bool heard = false;
    std::size_t onset = 0;
    std::size_t end = 0;  // one past the last loud sample
    double Seconds() const { return static_cast<double>(end - onset) / MonitorRecorder::Rate; }
    double frequency = 0;
};
RecordedSound FindSound(const std::vector<std::int16_t>& samples, std::size_t from = 0);
