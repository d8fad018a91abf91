#include "framework/SoundPlayer.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QMediaDevices>
#include <QObject>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "engine/TimeExpansion.h"

namespace {

// Why `fileName` cannot be played at all; empty when it may be.
QString WhyNotPlayable(const QString& fileName) {
    if (fileName.isEmpty()) return PlayFailure::NoFile();
    const QFileInfo file(fileName);
    if (!file.exists()) return PlayFailure::FileNotFound();
    if (!file.isFile()) return PlayFailure::NotARegularFile();
    if (QMediaDevices::audioOutputs().isEmpty()) return PlayFailure::NoSoundOutput();
    return {};
}

// Every player's output lives under one object owned by the application
// object, and is torn down before the application object is gone: when the
// application's loop has ended and, for a host that never runs it, from the
// application object's destructor (a post routine runs there while the
// application is still whole). An audio sink destroyed any later, by the exit
// handlers, posts an event to an application that no longer exists.
//
// Defined before the remover below, so that it is still there when that runs.
QPointer<QObject> g_outputOwner;

void EndSoundOutputs() {
    delete g_outputOwner.data();
}

// A module that is unloaded while the application lives takes its outputs
// with it, and must not leave Qt a post routine to call into its unmapped code.
struct PostRoutineRemover {
    ~PostRoutineRemover() {
        qRemovePostRoutine(EndSoundOutputs);
        EndSoundOutputs();
    }
} g_postRoutineRemover;

// The owner of new outputs; null when there is no application to outlive.
QObject* OutputOwnerForNewOutput() {
    QCoreApplication* application = QCoreApplication::instance();
    if (!application) return nullptr;
    if (!g_outputOwner) {
        g_outputOwner = new QObject(application);
        QObject::connect(application, &QCoreApplication::aboutToQuit, g_outputOwner,
                         &EndSoundOutputs);
        // Once, however often the outputs were ended and opened again.
        qRemovePostRoutine(EndSoundOutputs);
        qAddPostRoutine(EndSoundOutputs);
    }
    return g_outputOwner;
}

// The samples of one recording as the output takes them: the time-expanded
// stream converted to the output's sample format, then a short silence, so
// that the last of the recording is out of the output's buffer before the
// output is stopped at its end.
class PlaybackDevice : public QIODevice {
public:
    PlaybackDevice(std::unique_ptr<sonolux::TimeExpandedStream> stream, const QAudioFormat& format,
                   QObject* parent)
        : QIODevice(parent),
          m_stream(std::move(stream)),
          m_format(format),
          m_tailFrames(format.sampleRate() / 10) {}

    bool isSequential() const override { return true; }
    bool atEnd() const override { return m_tailDone >= m_tailFrames; }

protected:
    qint64 readData(char* data, qint64 maxSize) override {
        const int frameBytes = m_format.bytesPerFrame();
        const auto frames = static_cast<std::size_t>(maxSize / frameBytes);
        m_samples.clear();
        std::size_t got = m_stream->Read(frames, m_samples);
        const int channels = m_format.channelCount();
        if (got < frames && m_tailDone < m_tailFrames) {
            const std::size_t silence =
                std::min<std::size_t>(frames - got, m_tailFrames - m_tailDone);
            m_samples.resize(m_samples.size() + silence * static_cast<std::size_t>(channels), 0.0f);
            m_tailDone += silence;
            got += silence;
        }
        if (m_format.sampleFormat() == QAudioFormat::Float) {
            std::memcpy(data, m_samples.data(), m_samples.size() * sizeof(float));
        } else {
            auto* out = reinterpret_cast<qint16*>(data);
            for (std::size_t i = 0; i < m_samples.size(); ++i)
                out[i] = static_cast<qint16>(
                    std::lround(std::clamp(m_samples[i] * 32767.0f, -32768.0f, 32767.0f)));
        }
        return static_cast<qint64>(got) * frameBytes;
    }
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    std::unique_ptr<sonolux::TimeExpandedStream> m_stream;
    QAudioFormat m_format;
    std::size_t m_tailFrames;
    std::size_t m_tailDone = 0;
    std::vector<float> m_samples;
};

// How often the position heard is told: 40 times a second.
constexpr int PositionIntervalMilliseconds = 25;
// What the output is asked to buffer. More would cost memory and nothing else
// (the position allows for it, and a stop drops what is buffered); much less
// lets a busy user-interface thread (a spectrogram being computed) starve it.
constexpr int BufferMilliseconds = 200;
// Once all was handed over, how long the heard position may stand still before
// the sound is taken to have ended all the same (an output that stopped telling).
constexpr int StalledEndMilliseconds = 1000;

// The format the output is opened with for `stream` slowed by `divisor`, or an
// invalid format when the output takes none.
QAudioFormat OutputFormat(const QAudioDevice& device, const sonolux::TimeExpandedStream& stream,
                          int divisor) {
    QAudioFormat format;
    format.setChannelCount(stream.Channels());
    const QList<QAudioFormat::SampleFormat> kinds = device.supportedSampleFormats();
    const int preferred = device.preferredFormat().sampleRate();
    const int rates[] = {
        sonolux::OutputRateFor(stream.FileRate(), divisor, device.minimumSampleRate(),
                               device.maximumSampleRate(), preferred),
        preferred};
    for (const QAudioFormat::SampleFormat kind : {QAudioFormat::Float, QAudioFormat::Int16}) {
        if (!kinds.contains(kind)) continue;
        format.setSampleFormat(kind);
        for (const int rate : rates) {
            format.setSampleRate(rate);
            if (rate > 0 && device.isFormatSupported(format)) return format;
        }
    }
    return {};
}

}  // namespace

// One sound: its output, and what tells where it is and when it ended.
//
// The position is QAudioSink::processedUSecs. On PulseAudio this is the
// server's read index less the sink's own latency (an average of its last
// reports), carried on by the clock between the server's timing reports and
// never beyond what was written: the time of what is being heard. The
// alternative, what was handed over less what is still buffered, leaves out
// the sink's latency and moves only when the server asks for more. Against a
// null sink's monitor the first stays within 7 ms of what is played; the
// second ran up to 77 ms ahead, in steps.
class QtSoundPlayer::Output : public QObject {
public:
    explicit Output(QObject* owner) : QObject(owner) {
        m_tick.setInterval(PositionIntervalMilliseconds);
        QObject::connect(&m_tick, &QTimer::timeout, this, [this] { OnTick(); });
    }

    // A sound still playing stops with its output; its listener hears so.
    ~Output() override { End(); }

    // Plays `stream`, already open, on `device`; the sound before it ends first.
    void Play(std::unique_ptr<sonolux::TimeExpandedStream> stream, const QAudioDevice& device,
              int divisor, ISoundPlayerListener* listener) {
        // Ending a sound runs the event loop, where another request may start one.
        while (m_sink) End();
        const QAudioFormat format = OutputFormat(device, *stream, divisor);
        if (!format.isValid()) {
            if (listener) listener->OnPlayFailed(PlayFailure::FormatNotPlayable());
            return;
        }
        stream->Start(divisor, format.sampleRate());
        m_endFrame = static_cast<double>(stream->OutputFrames());
        m_seconds = [s = stream.get()](double frame) { return s->RecordingSeconds(frame); };
        m_rate = format.sampleRate();
        m_listener = listener;
        m_sink = new QAudioSink(device, format, this);
        m_sink->setBufferSize(format.bytesForDuration(BufferMilliseconds * 1000));
        m_device = new PlaybackDevice(std::move(stream), format, m_sink);
        m_device->open(QIODevice::ReadOnly);
        m_sink->start(m_device);
        if (m_sink->error() != QAudio::NoError || m_sink->state() == QAudio::StoppedState) {
            ISoundPlayerListener* failed = std::exchange(m_listener, nullptr);
            Discard();
            if (failed) failed->OnPlayFailed(PlayFailure::NoSoundOutput());
            return;
        }
        // An output that stops by itself (its server went away) ends the sound.
        // Queued: the sink is not deleted inside its own signal, and a report
        // that arrives after a newer sound began is recognised and dropped.
        const int sound = ++m_sound;
        QObject::connect(
            m_sink, &QAudioSink::stateChanged, this,
            [this, sound](QAudio::State state) {
                if (sound == m_sound && m_sink && state == QAudio::StoppedState) End();
            },
            Qt::QueuedConnection);
        m_started = true;
        m_lastFrame = -1;
        m_stalled.invalidate();
        m_tick.start();
        if (m_listener) {
            m_listener->OnPlayStarted();
            if (m_listener) m_listener->OnPlayPosition(0.0);
        }
    }

    // Stops the sound of `listener`, if it is the one playing.
    void Stop(ISoundPlayerListener* listener) {
        if (listener && m_listener == listener) End();
    }

    void Forget(ISoundPlayerListener* listener) {
        if (m_listener == listener) m_listener = nullptr;
    }

private:
    double HeardFrame() const {
        const double frame = static_cast<double>(m_sink->processedUSecs()) * m_rate / 1e6;
        return std::min(frame, m_endFrame);
    }

    void OnTick() {
        if (!m_sink) return;
        const double frame = HeardFrame();
        if (m_listener) m_listener->OnPlayPosition(m_seconds(frame));
        if (frame >= m_endFrame) {
            End();
            return;
        }
        // The output has everything and tells no progress: it will tell none.
        if (m_device && m_device->atEnd() && frame <= m_lastFrame) {
            if (!m_stalled.isValid()) m_stalled.start();
            if (m_stalled.hasExpired(StalledEndMilliseconds)) End();
            return;
        }
        m_stalled.invalidate();
        m_lastFrame = frame;
    }

    // Stops the output; a listener of a sound that was heard hears it ended.
    void End() {
        m_tick.stop();
        ISoundPlayerListener* listener = std::exchange(m_listener, nullptr);
        const bool started = std::exchange(m_started, false);
        Discard();
        if (listener && started) listener->OnPlayEnded();
    }

    // Silences and deletes the output at once: one left to the event loop
    // would outlive the application object in a host that never runs its loop.
    // The sink's destructor runs the event loop, so it is taken out of reach
    // first.
    void Discard() {
        m_device = nullptr;
        QAudioSink* sink = std::exchange(m_sink, nullptr);
        if (!sink) return;
        sink->disconnect();
        sink->stop();
        delete sink;  // and the device with it
    }

    QTimer m_tick;
    QAudioSink* m_sink = nullptr;        // of the current sound, a child
    PlaybackDevice* m_device = nullptr;  // the sink's child
    std::function<double(double)> m_seconds;
    double m_endFrame = 0;
    double m_lastFrame = -1;
    int m_rate = 1;
    QElapsedTimer m_stalled;
    int m_sound = 0;                             // counts the sounds started
    ISoundPlayerListener* m_listener = nullptr;  // of the current sound, not owned
    bool m_started = false;                      // the current sound has been heard
};

QtSoundPlayer::QtSoundPlayer() = default;

QtSoundPlayer::~QtSoundPlayer() {
    delete m_output.data();
}

void QtSoundPlayer::Play(const QString& fileName, int speedDivisor,
                         ISoundPlayerListener* listener) {
    // A request that cannot play leaves a sound that is playing alone.
    QString failure = WhyNotPlayable(fileName);
    auto stream = std::make_unique<sonolux::TimeExpandedStream>();
    if (failure.isEmpty() && !stream->Open(QFile::encodeName(fileName).toStdString()))
        failure = PlayFailure::FormatNotPlayable();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (failure.isEmpty() && device.isNull()) failure = PlayFailure::NoSoundOutput();
    if (!failure.isEmpty()) {
        if (listener) listener->OnPlayFailed(failure);
        return;
    }
    if (!m_output) {
        QObject* owner = OutputOwnerForNewOutput();
        if (!owner) {
            if (listener) listener->OnPlayFailed(PlayFailure::NoSoundOutput());
            return;
        }
        m_output = new Output(owner);
    }
    m_output->Play(std::move(stream), device, speedDivisor, listener);
}

void QtSoundPlayer::Stop(ISoundPlayerListener* listener) {
    if (m_output) m_output->Stop(listener);
}

void QtSoundPlayer::Forget(ISoundPlayerListener* listener) {
    if (m_output) m_output->Forget(listener);
}

ISoundPlayer& ModuleSoundPlayer() {
    static QtSoundPlayer player;
    return player;
}
