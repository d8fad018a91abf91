#pragma once

#include <QString>
#include <QUuid>
#include <vector>

#include "DispatchTable.h"

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
}  // namespace SonoluxDispid

// The static description of the module's interfaces: identifiers, versions
// and help strings, used by the dispatch table and by registration.
struct TypeLibraryInterface {
    QUuid id;
    const char* name;
    const char* helpString;
    bool hidden;
};

struct TypeLibraryDescription {
    const char* name;
    QUuid id;
    int majorVersion;
    int minorVersion;
    int locale;
    const char* helpString;
    TypeLibraryInterface dispatchInterface;
    TypeLibraryInterface eventInterface;
    TypeLibraryInterface controlClass;
};

SONOLUX_EXPORT const TypeLibraryDescription& SONOLUXLib();
SONOLUX_EXPORT const DispatchTable& SonoluxDispatchTable();
