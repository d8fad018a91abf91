// libFuzzer entry: every input is taken as the bytes of a wave file and goes
// through the control's whole load, then through the image build of a small
// control. Run under AddressSanitizer and UndefinedBehaviorSanitizer.
#include <sys/mman.h>
#include <unistd.h>

#include <QSize>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "SpectrogramImage.h"
#include "SpectrogramParameters.h"
#include "WaveLoader.h"

namespace {

// The input lives in a file in memory, reached by name as the loader expects;
// one file serves every run.
struct InputFile {
    InputFile() : descriptor(memfd_create("input.wav", MFD_CLOEXEC)) {
        if (descriptor < 0) std::abort();
        path = "/proc/self/fd/" + std::to_string(descriptor);
    }
    void Hold(const std::uint8_t* data, std::size_t size) const {
        if (::ftruncate(descriptor, 0) != 0) std::abort();
        std::size_t done = 0;
        while (done < size) {
            const ssize_t written =
                ::pwrite(descriptor, data + done, size - done, static_cast<off_t>(done));
            if (written <= 0) std::abort();
            done += static_cast<std::size_t>(written);
        }
    }

    int descriptor;
    std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const InputFile input;
    input.Hold(data, size);
    const std::vector<std::int16_t> previous = {7, -7, 7};
    std::vector<std::int16_t> samples = previous;
    if (sonolux::LoadWaveFile(input.path, samples) == sonolux::LoadResult::Refused) {
        if (samples != previous) std::abort();  // a refusal changes nothing
        return 0;
    }
    // Every sample comes from at least one byte of the input.
    if (samples.empty() || samples.size() > sonolux::MaxFrames || samples.size() > size) {
        std::abort();
    }
    sonolux::SpectrogramImage image;
    image.Build(samples, sonolux::SpectrogramParameters{}, QSize(40, 30));
    return 0;
}
