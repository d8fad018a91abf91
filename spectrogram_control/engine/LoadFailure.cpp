#include "engine/LoadFailure.h"

namespace sonolux {
namespace {

// "24-bit PCM", or the kind alone when the header gave no width.
std::string WithWidth(std::uint16_t bits, const char* kind) {
    if (bits == 0) return kind;
    return std::to_string(bits) + "-bit " + kind;
}

}  // namespace

std::string LoadRefusalText(const LoadRefusal& refusal) {
    switch (refusal.failure) {
        case LoadFailure::None:
            return {};
        case LoadFailure::NameNotUsable:
            return "name not usable";
        case LoadFailure::FileNotFound:
            return "file not found";
        case LoadFailure::NotARegularFile:
            return "not a regular file";
        case LoadFailure::CannotBeOpened:
            return "cannot be opened";
        case LoadFailure::EmptyFile:
            return "empty file";
        case LoadFailure::NotAWaveFile:
            return "not a wave file";
        case LoadFailure::CutShort:
            return "cut short";
        case LoadFailure::NoSamples:
            return "no samples";
        case LoadFailure::DamagedHeader:
            return "damaged header";
        case LoadFailure::UnsupportedFormat:
            return "unsupported format";
        case LoadFailure::ALaw:
            return WithWidth(refusal.bitsPerSample, "A-law");
        case LoadFailure::MuLaw:
            return WithWidth(refusal.bitsPerSample, "mu-law");
        case LoadFailure::Float:
            return WithWidth(refusal.bitsPerSample, "float");
        case LoadFailure::UnsupportedWidth:
            return WithWidth(refusal.bitsPerSample, "PCM");
        case LoadFailure::OutOfMemory:
            return "out of memory";
    }
    return "cannot be read";
}

}  // namespace sonolux
