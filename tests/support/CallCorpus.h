#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

// Labelled recordings made to order: a call of a known shape at a known level over
// background noise of a random colour and level, at one of the usual sample rates.
namespace CallCorpus {

enum class Shape {
    Tone,
    UpSweep,
    DownSweep,
    HarmonicStack,
    ClickTrain,
    Trill,
    BatPulses,
    Empty,  // background noise only
};
constexpr int ShapeCount = 8;

const char* ShapeName(Shape shape);

struct Recording {
    Shape shape = Shape::Empty;
    std::uint32_t sampleRate = 48000;
    // The call's RMS while it sounds over the background's RMS, in dB (whole band);
    // 0 for Empty.
    double levelDb = 0.0;
    std::vector<std::int16_t> samples;
};

// One recording of `seconds`: the call at a random place, the level drawn from
// `lowestDb` .. `highestDb`, the rate from 22050 .. 96000 and the noise white, pink
// or brown.
Recording Make(Shape shape, std::mt19937& random, double seconds = 1.0, double lowestDb = 6.0,
               double highestDb = 30.0);

}  // namespace CallCorpus
