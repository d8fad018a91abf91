#include "control/SonoluxTypeLibrary.h"

#include "sonolux/SonoluxModule.h"

const TypeLibraryDescription& SONOLUXLib() {
    static const TypeLibraryDescription library{
        "SONOLUXLib",
        QUuid(0x5f1d2c80, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e, 0x0b, 0x7d, 0x43, 0xa8, 0x15),
        1,
        0,
        0x0409,
        "Sonolux ActiveX Control module",
    };
    return library;
}

const DispatchTable& SonoluxDispatchTable() {
    using Kind = DispatchMember::Kind;
    static const DispatchTable table({
        {SonoluxDispid::FrameLengthChoice, "FrameLengthChoice", Kind::Property},
        {SonoluxDispid::FFTSizeChoice, "FFTSizeChoice", Kind::Property},
        {SonoluxDispid::WindowFunctionChoice, "WindowFunctionChoice", Kind::Property},
        {SonoluxDispid::HopSize, "HopSize", Kind::Property},
        {SonoluxDispid::PowerMin, "PowerMin", Kind::Property},
        {SonoluxDispid::PowerMax, "PowerMax", Kind::Property},
        {SonoluxDispid::OLEDropMode, "OLEDropMode", Kind::Property},
        {SonoluxDispid::PlayOnClick, "PlayOnClick", Kind::Property},
        {SonoluxDispid::AudioSamplesDataPath, "AudioSamplesDataPath", Kind::Property},
        {SonoluxDispid::Filename, "Filename", Kind::Property},
        {SonoluxDispid::Play, "Play", Kind::Method},
        {SonoluxDispid::DoClick, "DoClick", Kind::Method},
        {SonoluxDispid::AboutBox, "AboutBox", Kind::Method},
        {SonoluxDispid::Loaded, "Loaded", Kind::Property},
        {SonoluxDispid::SampleRate, "SampleRate", Kind::Property},
        {SonoluxDispid::Channels, "Channels", Kind::Property},
        {SonoluxDispid::BitsPerSample, "BitsPerSample", Kind::Property},
        {SonoluxDispid::TotalFrames, "TotalFrames", Kind::Property},
        {SonoluxDispid::LoadedFrames, "LoadedFrames", Kind::Property},
        {SonoluxDispid::Playing, "Playing", Kind::Property},
        {SonoluxDispid::PlayError, "PlayError", Kind::Property},
        {SonoluxDispid::FrameLimit, "FrameLimit", Kind::Property},
        {SonoluxDispid::FloatSamples, "FloatSamples", Kind::Property},
        {SonoluxDispid::EverySample, "EverySample", Kind::Property},
        {SonoluxDispid::AutoContrast, "AutoContrast", Kind::Property},
        {SonoluxDispid::LoadError, "LoadError", Kind::Property},
        {SonoluxDispid::PlayPosition, "PlayPosition", Kind::Property},
        {SonoluxDispid::PlaybackSpeedDivisor, "PlaybackSpeedDivisor", Kind::Property},
        {SonoluxDispid::Stop, "Stop", Kind::Method},
    });
    return table;
}
