#pragma once

#include <QUuid>

#include "framework/DispatchTable.h"

// Dispatch identifiers of the control's interface.
namespace SonoluxDispid {
constexpr int FrameLengthChoice = 1;
constexpr int FFTSizeChoice = 2;
constexpr int WindowFunctionChoice = 3;
constexpr int HopSize = 4;
constexpr int PowerMin = 5;
constexpr int PowerMax = 6;
constexpr int OLEDropMode = 7;
constexpr int PlayOnClick = 8;
constexpr int AudioSamplesDataPath = 9;
constexpr int Filename = 10;
constexpr int Play = 11;
constexpr int DoClick = -551;
constexpr int AboutBox = -552;
// Added later, after every identifier above: read-only, what the last load and
// the last play came to.
constexpr int Loaded = 12;
constexpr int SampleRate = 13;
constexpr int Channels = 14;
constexpr int BitsPerSample = 15;
constexpr int TotalFrames = 16;
constexpr int LoadedFrames = 17;
constexpr int Playing = 18;
constexpr int PlayError = 19;
// Added later still: what a load takes.
constexpr int FrameLimit = 20;
constexpr int FloatSamples = 21;
// How the picture is drawn, and why a load refused its file.
constexpr int EverySample = 22;
constexpr int AutoContrast = 23;
constexpr int LoadError = 24;
// Where the sound is heard, how slowly it plays, and its end on request.
constexpr int PlayPosition = 25;
constexpr int PlaybackSpeedDivisor = 26;
constexpr int Stop = 27;
}  // namespace SonoluxDispid

// The static description of the module's type library: its identifier,
// version and help string, used by registration.
struct TypeLibraryDescription {
    const char* name;
    QUuid id;
    int majorVersion;
    int minorVersion;
    int locale;
    const char* helpString;
};

const TypeLibraryDescription& SONOLUXLib();
const DispatchTable& SonoluxDispatchTable();
