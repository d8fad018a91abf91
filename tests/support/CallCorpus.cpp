#include "tests/support/CallCorpus.h"

#include <algorithm>
#include <cmath>

namespace CallCorpus {

namespace {

constexpr double Pi = 3.14159265358979323846;

double Uniform(std::mt19937& random, double low, double high) {
    return std::uniform_real_distribution<double>(low, high)(random);
}

// Like a species, each shape keeps its frequencies within a few per cent.
double Jitter(std::mt19937& random) {
    return Uniform(random, 0.93, 1.07);
}

std::vector<double> Noise(std::mt19937& random, std::size_t count) {
    std::normal_distribution<double> gauss(0.0, 1.0);
    const int colour = std::uniform_int_distribution<int>(0, 2)(random);
    std::vector<double> noise(count);
    double b0 = 0, b1 = 0, b2 = 0, brown = 0;
    for (double& value : noise) {
        const double white = gauss(random);
        if (colour == 0) {
            value = white;
        } else if (colour == 1) {  // Paul Kellet's economy pink filter
            b0 = 0.99765 * b0 + white * 0.0990460;
            b1 = 0.96300 * b1 + white * 0.2965164;
            b2 = 0.57000 * b2 + white * 1.0526913;
            value = b0 + b1 + b2 + white * 0.1848;
        } else {  // a leaky integrator: brown
            brown = 0.995 * brown + white;
            value = brown;
        }
    }
    return noise;
}

double Rms(const std::vector<double>& values, std::size_t from, std::size_t to) {
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i) sum += values[i] * values[i];
    return to > from ? std::sqrt(sum / static_cast<double>(to - from)) : 0.0;
}

// A 5 ms rise and fall, so the call has no clicks of its own.
double Envelope(double t, double duration) {
    const double ramp = std::min(0.005, duration / 4);
    if (t < ramp) return t / ramp;
    if (t > duration - ramp) return std::max(0.0, (duration - t) / ramp);
    return 1.0;
}

// An exponential sweep from f0 to f1 over `duration`: its phase at time t.
double SweepPhase(double f0, double f1, double duration, double t) {
    if (std::abs(f1 - f0) < 1e-9) return 2 * Pi * f0 * t;
    const double k = std::log(f1 / f0) / duration;
    return 2 * Pi * f0 * (std::exp(k * t) - 1) / k;
}

// The call alone, `duration` seconds of it.
std::vector<double> Call(Shape shape, std::mt19937& random, double rate, double& duration) {
    const double j = Jitter(random);
    std::vector<double> call;
    auto render = [&](double length, auto sample) {
        duration = length;
        call.resize(static_cast<std::size_t>(length * rate));
        for (std::size_t i = 0; i < call.size(); ++i) {
            const double t = i / rate;
            call[i] = sample(t) * Envelope(t, length);
        }
    };
    switch (shape) {
        case Shape::Tone:
            render(Uniform(random, 0.2, 0.35),
                   [&](double t) { return std::sin(2 * Pi * 3000 * j * t); });
            break;
        case Shape::UpSweep: {
            const double length = Uniform(random, 0.15, 0.25);
            render(length,
                   [&](double t) { return std::sin(SweepPhase(1500 * j, 6000 * j, length, t)); });
            break;
        }
        case Shape::DownSweep: {
            const double length = Uniform(random, 0.15, 0.25);
            render(length,
                   [&](double t) { return std::sin(SweepPhase(7000 * j, 2000 * j, length, t)); });
            break;
        }
        case Shape::HarmonicStack:
            render(Uniform(random, 0.25, 0.4), [&](double t) {
                double sum = 0;
                for (int h = 1; h <= 5; ++h) sum += std::sin(2 * Pi * 700 * j * h * t) / h;
                return sum;
            });
            break;
        case Shape::ClickTrain: {
            const double period = 1.0 / (25 * j);
            std::normal_distribution<double> gauss(0.0, 1.0);
            render(Uniform(random, 0.4, 0.6), [&](double t) {
                const double since = std::fmod(t, period);
                return since < 0.0015 ? gauss(random) * std::exp(-since / 0.0004) : 0.0;
            });
            break;
        }
        case Shape::Trill:
            render(Uniform(random, 0.3, 0.5), [&](double t) {
                return std::sin(2 * Pi * 4500 * j * t) * (0.5 - 0.5 * std::cos(2 * Pi * 30 * t));
            });
            break;
        case Shape::BatPulses: {
            const double period = 1.0 / (12 * j);
            const double pulse = 0.004;
            render(Uniform(random, 0.45, 0.6), [&](double t) {
                const double since = std::fmod(t, period);
                if (since >= pulse) return 0.0;
                const double window = std::sin(Pi * since / pulse);
                return window * std::sin(SweepPhase(10000 * j, 6000 * j, pulse, since));
            });
            break;
        }
        case Shape::Empty:
            duration = 0;
            break;
    }
    return call;
}

}  // namespace

const char* ShapeName(Shape shape) {
    static const char* const names[ShapeCount] = {"tone",   "up-sweep", "down-sweep", "harmonics",
                                                  "clicks", "trill",    "bat",        "empty"};
    return names[static_cast<int>(shape)];
}

Recording Make(Shape shape, std::mt19937& random, double seconds, double lowestDb,
               double highestDb) {
    static const std::uint32_t rates[] = {22050, 32000, 44100, 48000, 96000};
    Recording recording;
    recording.shape = shape;
    recording.sampleRate = rates[std::uniform_int_distribution<int>(0, 4)(random)];
    const auto count = static_cast<std::size_t>(seconds * recording.sampleRate);
    std::vector<double> sound = Noise(random, count);
    const double noiseRms = std::max(Rms(sound, 0, count), 1e-12);
    const double background =
        Uniform(random, 20.0, 400.0);  // in 16-bit steps: 30 dB more still fits
    for (double& value : sound) value *= background / noiseRms;

    double duration = 0;
    const std::vector<double> call = Call(shape, random, recording.sampleRate, duration);
    if (!call.empty() && call.size() < count) {
        recording.levelDb = Uniform(random, lowestDb, highestDb);
        // The RMS over the call's sounding stretch: a pulse train's gaps do not count.
        double sum = 0.0;
        std::size_t sounding = 0;
        for (double value : call) {
            if (value != 0.0) ++sounding;
            sum += value * value;
        }
        const double callRms =
            std::sqrt(sum / static_cast<double>(std::max<std::size_t>(sounding, 1)));
        const double gain = background * std::pow(10.0, recording.levelDb / 20) / callRms;
        const auto start =
            std::uniform_int_distribution<std::size_t>(0, count - call.size())(random);
        for (std::size_t i = 0; i < call.size(); ++i) sound[start + i] += gain * call[i];
    }
    recording.samples.resize(count);
    for (std::size_t i = 0; i < count; ++i)
        recording.samples[i] =
            static_cast<std::int16_t>(std::clamp(std::lround(sound[i]), -32768L, 32767L));
    return recording;
}

}  // namespace CallCorpus
