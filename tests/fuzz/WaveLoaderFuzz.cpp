// libFuzzer entry: every input is taken as the bytes of a wave file and goes
// through the control's whole load, as a new control takes it, as one that
// takes whole recordings and float samples does, and with a frame limit taken
// from the input (also as the shared load a control's worker makes), then
// through the image build of a small control, as described and with every
// sample and its own contrast, and the analysis of the whole recording. Run
// under AddressSanitizer and UndefinedBehaviorSanitizer.
//
// The file is longer than the input: the last input byte, times 4 KiB, is a hole
// of zeros after it. Many blocks of wide frames, or frames wider than the loader
// reads whole (16 KiB), would otherwise take inputs of up to a megabyte, which
// the fuzzer seldom grows to and mutates slowly; here they cost one byte.
#include <sys/mman.h>
#include <unistd.h>

#include <QSize>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/SpectrogramImage.h"
#include "engine/SpectrogramParameters.h"
#include "engine/WaveAnalysis.h"
#include "engine/WaveLoader.h"

namespace {

// The input lives in a file in memory, reached by name as the loader expects;
// one file serves every run.
struct InputFile {
    InputFile() : descriptor(memfd_create("input.wav", MFD_CLOEXEC)) {
        if (descriptor < 0) std::abort();
        path = "/proc/self/fd/" + std::to_string(descriptor);
    }
    // Holds the input and the hole after it; returns the file's length.
    std::size_t Hold(const std::uint8_t* data, std::size_t size) const {
        if (::ftruncate(descriptor, 0) != 0) std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t written =
                ::pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
            if (written <= 0) std::abort();
            done += static_cast<std::size_t>(written);
        }
        const std::size_t length = size + (size > 0 ? data[size - 1] * HoleUnit : 0);
        if (::ftruncate(descriptor, static_cast<off_t>(length)) != 0) std::abort();
        return length;
    }

    static constexpr std::size_t HoleUnit = 4096;

    int descriptor;
    std::string path;
};

const std::vector<std::int16_t> Previous = {7, -7, 7};

// 1 to 65536 frames, from the two input bytes before the last: a limit that falls
// inside a file's frames, and so often inside a block of them.
std::uint32_t FrameLimitFrom(const std::uint8_t* data, std::size_t size) {
    if (size < 3) return 1;
    return 1u + (data[size - 3] | data[size - 2] << 8u);
}

// Loads the file of `size` bytes at `path` with `options`; aborts on anything a
// load must never do. Returns whether it was read.
bool Load(const std::string& path, std::size_t size, const sonolux::LoadOptions& options,
          std::vector<std::int16_t>& samples) {
    samples = Previous;
    sonolux::WaveFileInfo info{1, 1, 1, 1, 1};
    sonolux::LoadRefusal refusal{sonolux::LoadFailure::OutOfMemory, 7};
    if (sonolux::LoadWaveFile(path, samples, options, &info, &refusal) ==
        sonolux::LoadResult::Refused) {
        // A refusal changes nothing, describes nothing, and says why.
        if (samples != Previous || !(info == sonolux::WaveFileInfo{}) ||
            refusal.failure == sonolux::LoadFailure::None ||
            sonolux::LoadRefusalText(refusal).empty()) {
            std::abort();
        }
        return false;
    }
    // Every sample comes from at least one byte of the file.
    if (refusal != sonolux::LoadRefusal{} || samples.empty() ||
        samples.size() > options.frameLimit || samples.size() > size ||
        samples.capacity() != samples.size() || info.loadedFrames != samples.size() ||
        info.totalFrames < info.loadedFrames || info.channels == 0) {
        std::abort();
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input;
    const std::size_t length = input.Hold(data, size);
    std::vector<std::int16_t> first;
    const bool firstRead = Load(input.path, length, {}, first);
    std::vector<std::int16_t> whole;
    const bool wholeRead = Load(input.path, length, {sonolux::LargestFrameLimit, true}, whole);
    // Taking more frames and float samples too never loses what the first load read.
    if (firstRead && (!wholeRead || whole.size() < first.size() ||
                      !std::equal(first.begin(), first.end(), whole.begin()))) {
        std::abort();
    }
    // A frame limit only cuts what the whole load reads, wherever it falls.
    const std::uint32_t limit = FrameLimitFrom(data, size);
    std::vector<std::int16_t> part;
    if (Load(input.path, length, {limit, true}, part) != wholeRead ||
        (wholeRead && (part.size() != std::min<std::size_t>(limit, whole.size()) ||
                       !std::equal(part.begin(), part.end(), whole.begin())))) {
        std::abort();
    }
    // The controls' shared load (a worker's) reads and refuses exactly as the
    // load above does.
    const sonolux::SharedLoad shared =
        sonolux::LoadSharedWaveFile(input.path, {limit, true}, nullptr);
    if ((shared.result == sonolux::LoadResult::Replaced) != wholeRead ||
        (wholeRead && (!shared.samples || *shared.samples != part || !shared.readFromFile)) ||
        (!wholeRead && shared.refusal.failure == sonolux::LoadFailure::None)) {
        std::abort();
    }
    // The analysis reads what the whole load reads, or says why not, and gives
    // finite numbers whatever the samples are.
    const sonolux::WaveAnalysis analysis = sonolux::AnalyseWaveFile(input.path);
    const bool analysed = analysis.status == sonolux::AnalysisStatus::Analysed;
    if ((analysed || analysis.status == sonolux::AnalysisStatus::UnsupportedRate) != wholeRead ||
        (analysed && analysis.analysedFrames != whole.size()) ||
        !std::isfinite(analysis.activityDb) || analysis.activityDb < 0.0f ||
        !std::all_of(analysis.features.begin(), analysis.features.end(),
                     [](float f) { return std::isfinite(f); })) {
        std::abort();
    }
    if (!wholeRead) return 0;
    sonolux::SpectrogramImage image;
    image.Build(whole, sonolux::SpectrogramParameters{}, QSize(40, 30));
    // Every sample costs a transform per 16 of them here: the part (at most 65536
    // frames) keeps the runs fast.
    image.Build(part, sonolux::SpectrogramParameters{}, QSize(40, 30),
                sonolux::PictureOptions{true, true});
    return 0;
}
