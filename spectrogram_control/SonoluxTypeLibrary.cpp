#include "SonoluxTypeLibrary.h"

#include "sonolux/SonoluxModule.h"

const TypeLibraryDescription& SONOLUXLib() {
    static const TypeLibraryDescription library{
        "SONOLUXLib",
        QUuid(0x5f1d2c80, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e, 0x0b, 0x7d, 0x43, 0xa8, 0x15),
        1,
        0,
        0x0409,
        "Sonolux ActiveX Control module",
        {QUuid(0x5f1d2c81, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e, 0x0b, 0x7d, 0x43, 0xa8, 0x15),
         "_DSonolux", "Dispatch interface for Sonolux Control", true},
        {QUuid(0x5f1d2c82, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e, 0x0b, 0x7d, 0x43, 0xa8, 0x15),
         "_DSonoluxEvents", "Event interface for Sonolux Control", false},
        {sonolux::CLSID_Sonolux, "Sonolux", "Sonolux Control", false},
    };
    return library;
}

const DispatchTable& SonoluxDispatchTable() {
    using Kind = DispatchMember::Kind;
    static const DispatchTable table({
        {SonoluxDispid::FrameLengthChoice, "FrameLengthChoice", Kind::Property, "short", true},
        {SonoluxDispid::FFTSizeChoice, "FFTSizeChoice", Kind::Property, "short", true},
        {SonoluxDispid::WindowFunctionChoice, "WindowFunctionChoice", Kind::Property, "short",
         true},
        {SonoluxDispid::HopSize, "HopSize", Kind::Property, "int", true},
        {SonoluxDispid::PowerMin, "PowerMin", Kind::Property, "float", true},
        {SonoluxDispid::PowerMax, "PowerMax", Kind::Property, "float", true},
        {SonoluxDispid::OLEDropMode, "OLEDropMode", Kind::Property, "short", true},
        {SonoluxDispid::PlayOnClick, "PlayOnClick", Kind::Property, "short", true},
        {SonoluxDispid::AudioSamplesDataPath, "AudioSamplesDataPath", Kind::Property, "QString",
         true},
        {SonoluxDispid::Filename, "Filename", Kind::Property, "QString", true},
        {SonoluxDispid::Play, "Play", Kind::Method, "", true},
        {SonoluxDispid::DoClick, "DoClick", Kind::Method, "", false},
        {SonoluxDispid::AboutBox, "AboutBox", Kind::Method, "", true},
    });
    return table;
}
