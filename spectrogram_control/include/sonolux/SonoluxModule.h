#pragma once

// The public face of the Sonolux control module: what a host needs to load
// the module at run time and create controls through its class objects.
// Hosts do not link against the module; they resolve the exported functions
// by name (see the function pointer types below).

#include <QUuid>
#include <cstdint>

class QWidget;

#if defined(SONOLUX_BUILDING_LIBRARY)
#define SONOLUX_EXPORT __attribute__((visibility("default")))
#else
#define SONOLUX_EXPORT
#endif

namespace sonolux {

using HRESULT = std::int32_t;

constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002u);
constexpr HRESULT E_POINTER = static_cast<HRESULT>(0x80004003u);
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT CLASS_E_CLASSNOTAVAILABLE = static_cast<HRESULT>(0x80040111u);
constexpr HRESULT SELFREG_E_TYPELIB = static_cast<HRESULT>(0x80040200u);
constexpr HRESULT SELFREG_E_CLASS = static_cast<HRESULT>(0x80040201u);

// Class identifier of the Sonolux control.
constexpr QUuid CLSID_Sonolux{0x5f1d2c84, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e,
                              0x0b,       0x7d,   0x43,   0xa8, 0x15};
// Class identifiers of the control's two property pages, the general page
// ("SONOLUX.SonoluxPropPage.1") and the spectrogram parameters page
// ("Sonolux.CSPGParams"). Their instances are property page widgets.
constexpr QUuid CLSID_SonoluxPropPage{0x5f1d2c85, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e,
                                      0x0b,       0x7d,   0x43,   0xa8, 0x15};
constexpr QUuid CLSID_SPGParams{0x5f1d2c86, 0x3b7e, 0x4a91, 0x9c, 0x62, 0x1e,
                                0x0b,       0x7d,   0x43,   0xa8, 0x15};
// ProgID of the control.
constexpr const char* ProgID_Sonolux = "SONOLUX.SonoluxCtrl.1";

// A control's properties are reached by name through its meta-object
// (QObject::property and setProperty), its methods through
// QMetaObject::invokeMethod. Beside FrameLengthChoice, FFTSizeChoice,
// WindowFunctionChoice, HopSize, PowerMin, PowerMax, OLEDropMode, PlayOnClick,
// AudioSamplesDataPath and Filename, a control tells its host, read-only:
//   "Loaded"         bool     the last load of Filename read a file
//   "SampleRate"     uint     its frames per second, as its header states them
//   "Channels"       int      its channels
//   "BitsPerSample"  int      bits of one sample as the file stores it
//   "TotalFrames"    uint     the whole frames the file holds
//   "LoadedFrames"   int      of them, those taken into the picture (from the start)
//   "Playing"        bool     the sound of its Play is being heard
//   "PlayError"      QString  why the last Play failed; empty when it did not
// After a refused file or an empty Filename, Loaded is false and the numbers
// are 0, while the picture stays that of the last file read. The control's
// signal LoadStateChanged() announces a change of the first six (and of
// LoadError below),
// PlayStateChanged() a change of the last two (connect by name with
// SIGNAL(LoadStateChanged()), or through QMetaObject::indexOfSignal).
// It also takes:
//   "FrameLimit"     int      frames a load takes at most: 1 to 4194304, default
//                             48000; another value raises error 380 ("Invalid
//                             property value", see the control's
//                             GetErrorNumber) and keeps the old one
//   "FloatSamples"   bool     IEEE float wave files are read; default false
// Changing either reloads the current file. Neither is saved with the control.
// How the picture is drawn (neither saved with the control, both false at first):
//   "EverySample"    bool     one column per device pixel, each the loudest
//                             power, bin by bin, of the frames (half a frame
//                             apart) that cover any of its samples, so no sample
//                             falls between frames; the host's HopSize is not used
//   "AutoContrast"   bool     the grey scale runs from the recording's background
//                             less 6 dB (white) to its loudest bin, at least
//                             24 dB over the background (black), instead of
//                             PowerMin to PowerMax
// And, read-only with the load state:
//   "LoadError"      QString  a few words on why the last load refused its file
//                             ("not a wave file", "cut short", ...); empty after a
//                             load that read one and for an empty Filename
// Where the sound is, and how slowly it plays:
//   "PlayPosition"   float    read-only: seconds into the recording of what is
//                             heard now, whatever the speed; 0 when nothing of the
//                             control's plays. The signal PlayPositionChanged()
//                             announces a change, at least 30 times a second
//                             while the sound plays
//   "PlaybackSpeedDivisor" short  Play plays the recording at 1/divisor of its
//                             speed, every frequency that many times lower: 1 to
//                             20, default 1; another value raises error 380 and
//                             keeps the old one. Not saved with the control
// and the method Stop() ends the control's sound if it is still playing.
// The time of sample frame i is i / SampleRate seconds; the picture covers
// LoadedFrames frames.
//
// Files are read and pictures drawn on the module's worker threads, one per
// core. A write of Filename (or of FrameLimit or FloatSamples) only asks for the
// load; a read of any load-state property finishes it first, so it answers what
// the file holds. LoadStateChanged() comes when the load's result is taken in:
// at that first read, or once the worker is done. Read-only:
//   "LoadPending"    bool     a load asked for has not been taken in yet (reading
//                             it finishes nothing)
//   "PicturePending" bool     the picture for the control's current state is
//                             still being drawn; PictureStateChanged() announces
//                             a change
//   "FileReads"      int      loads of this control that read samples from a
//                             file (those found in the module's cache, and moves
//                             followed, read none)
// The method FollowFile(QString) tells a control that the recording it shows now
// lives at the name given (its host has just moved it): Filename becomes that
// name, and when the file there still holds what was loaded (the same size and
// modification time, and the same device and inode unless it was copied to
// another file system) nothing is read or drawn again; otherwise it is a write
// of Filename. Samples and pictures are shared by all controls of the module
// through a cache (see SonoluxSetPictureCacheLimit below).

// Interface identifier of IClassFactory.
constexpr QUuid IID_IClassFactory{0x00000001, 0x0000, 0x0000, 0xc0, 0x00, 0x00,
                                  0x00,       0x00,   0x00,   0x00, 0x46};
// Interface identifier of IUnknown.
constexpr QUuid IID_IUnknown{0x00000000, 0x0000, 0x0000, 0xc0, 0x00, 0x00,
                             0x00,       0x00,   0x00,   0x00, 0x46};

// A class object: creates instances of one class. Reference counted; the
// caller of DllGetClassObject owns one reference and gives it back with Release.
class IClassFactory {
public:
    virtual std::uint32_t AddRef() = 0;
    virtual std::uint32_t Release() = 0;
    // Creates a new instance as a child widget of `parent` (which may be null)
    // and stores it in *object; the parent (or the caller) owns the widget.
    virtual HRESULT CreateInstance(QWidget* parent, QWidget** object) = 0;
    // Keeps the module loaded while `lock` is true.
    virtual HRESULT LockServer(bool lock) = 0;

protected:
    ~IClassFactory() = default;
};

// Signatures of the module's exports, for hosts that resolve them by name.
using DllGetClassObjectFunction = HRESULT (*)(const QUuid* classId, const QUuid* interfaceId,
                                              void** object);
using DllCanUnloadNowFunction = HRESULT (*)();
using DllRegisterServerFunction = HRESULT (*)();
using DllUnregisterServerFunction = HRESULT (*)();

// Room for the fingerprint of SonoluxAnalysis; a module fills `featureCount` of it.
constexpr int AnalysisFeatureCapacity = 64;

}  // namespace sonolux

extern "C" {
// What SonoluxAnalyseWaveFile found in one recording: a fingerprint that compares
// recordings by their sound whatever their sample rate and loudness, and how far the
// loudest event stands above the recording's background. Plain data: a host may
// keep it, copy it and compare it across runs while `version` stays the same.
struct SonoluxAnalysis {
    std::int32_t version;          // of the analysis; fingerprints of two versions differ
    std::int32_t status;           // 0 analysed; 1 not a readable wave file; 2 no path;
                                   // 3 out of memory; 4 sample rate out of range
    char statusText[64];           // a few words for `status`, NUL-terminated
    float activityDb;              // the loudest event over the background, in dB
    std::uint32_t sampleRate;      // of the file read
    std::uint32_t analysedFrames;  // frames analysed (from the start, 4194304 at most)
    std::int32_t featureCount;     // entries of `features` used; 0 unless analysed
    float features[sonolux::AnalysisFeatureCapacity];
};
}

namespace sonolux {
// Signature of SonoluxAnalyseWaveFile, for hosts that resolve it by name.
using SonoluxAnalyseWaveFileFunction = std::int32_t (*)(const char* path, SonoluxAnalysis* out);
// Signature of SonoluxSetPictureCacheLimit, for hosts that resolve it by name.
using SonoluxSetPictureCacheLimitFunction = void (*)(std::uint64_t bytes);
}  // namespace sonolux

extern "C" {
// Registers the module's type library and its three classes in the per-user
// component registry (see ComponentRegistry.h): S_OK, SELFREG_E_TYPELIB when
// the registry cannot be read, SELFREG_E_CLASS when it cannot be written.
SONOLUX_EXPORT sonolux::HRESULT DllRegisterServer();
// Removes exactly those entries again, leaving every other entry as it was.
SONOLUX_EXPORT sonolux::HRESULT DllUnregisterServer();
// The class object of one of the three classes: E_POINTER without `object`,
// CLASS_E_CLASSNOTAVAILABLE (with *object null) for another class.
SONOLUX_EXPORT sonolux::HRESULT DllGetClassObject(const QUuid* classId, const QUuid* interfaceId,
                                                  void** object);
// S_OK when no object of the module lives and no host holds a lock or a
// class object, else S_FALSE.
SONOLUX_EXPORT sonolux::HRESULT DllCanUnloadNow();
// Reads the wave file at `path` (a file system path in the local 8-bit encoding) as a
// control reads it, with all its checks, but up to 4194304 frames and IEEE float
// samples included, and fills *out. Returns out->status, or -1 without `out` (or
// `path`: then status 2). Safe on any thread and on many at once; keeps no state.
SONOLUX_EXPORT std::int32_t SonoluxAnalyseWaveFile(const char* path, SonoluxAnalysis* out);
// The most bytes of samples and pictures that the module keeps for its controls
// to share (256 MiB at first); 0 keeps none. What goes beyond a smaller limit is
// let go at once. Any thread.
SONOLUX_EXPORT void SonoluxSetPictureCacheLimit(std::uint64_t bytes);
}
