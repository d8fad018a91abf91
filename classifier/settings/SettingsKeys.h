#pragma once

#include <QString>
#include <cstdint>
#include <limits>

class ISettingsStore;

// Every key of the settings store, with its section, its default and its
// conversion. A stored text that does not convert, or converts to a value
// outside the key's range, reads as the key's default.
namespace SettingsKeys {

// An integer key. Sixteen-bit keys convert the text to a 16-bit integer first
// and widen it afterwards.
struct IntegerKey {
    const char* section;
    const char* key;
    std::int32_t defaultValue;
    bool sixteenBit;
    std::int32_t minimum;
    std::int32_t maximum;
};

struct SingleKey {
    const char* section;
    const char* key;
    float defaultValue;
};

struct BooleanKey {
    const char* section;
    const char* key;
    bool defaultValue;
};

// A decimal key with a range; text that is no number or lies outside reads as
// the default.
struct DoubleKey {
    const char* section;
    const char* key;
    double defaultValue;
    double minimum;
    double maximum;
};

// A key whose text is its value, as stored.
struct TextKey {
    const char* section;
    const char* key;
    const char* defaultValue;
};

constexpr std::int32_t LongMax = std::numeric_limits<std::int32_t>::max();
constexpr std::int32_t LongMin = std::numeric_limits<std::int32_t>::min();

// Twips. A cell of no width or height cannot be laid out.
constexpr IntegerKey CellWidth{"Cell Size", "Cell Width", 1500, false, 1, LongMax};
constexpr IntegerKey CellHeight{"Cell Size", "Cell Height", 1000, false, 1, LongMax};
// The check mark of the Play command.
constexpr BooleanKey Play{"Menu Defaults", "Play", false};
// Choices k of 32 * 2^k points, and the window functions 0 Hamming to 4 Bartlett.
constexpr IntegerKey FFTSizeChoice{"Spectrogram Parameters", "FFT Size Choice", 2, true, 0, 8};
constexpr IntegerKey FrameLengthChoice{
    "Spectrogram Parameters", "Frame Length Choice", 1, true, 0, 8};
// Samples; the spectrogram control decides what a hop below 1 means.
constexpr IntegerKey HopSize{"Spectrogram Parameters", "Hop Size", 64, false, LongMin, LongMax};
constexpr IntegerKey WindowFunctionChoice{
    "Spectrogram Parameters", "Window Function Choice", 0, true, 0, 4};
// dB.
constexpr SingleKey PowerMax{"Spectrogram Parameters", "Power Max", 120.0f};
constexpr SingleKey PowerMin{"Spectrogram Parameters", "Power Min", 20.0f};
// The "Recordings" options, all off on a first run.
constexpr BooleanKey WholeRecording{"Recordings", "WholeRecording", false};
constexpr BooleanKey AnyCaseWave{"Recordings", "AnyCaseWave", false};
constexpr BooleanKey FloatSamples{"Recordings", "FloatSamples", false};
constexpr BooleanKey EverySample{"Recordings", "EverySample", false};
constexpr BooleanKey AutoContrast{"Recordings", "AutoContrast", false};
// The "Playback" options: a recording's own speed divided by 1 to 20 (of the
// speeds offered; any other reads as 1), and Play on Select, off.
constexpr IntegerKey SpeedDivisor{"Playback", "SpeedDivisor", 1, true, 1, 20};
constexpr BooleanKey PlayOnSelect{"Playback", "PlayOnSelect", false};

// The folders' suggestions: off, in the batch's order, likely empty below 6 dB.
constexpr BooleanKey ShowSuggestions{"Suggestions", "Show", false};
constexpr BooleanKey OrderBySuggestion{"Suggestions", "OrderBySuggestion", false};
constexpr DoubleKey EmptyThresholdDb{"Suggestions", "EmptyThresholdDb", 6.0, 0.0, 60.0};

// A window's frame's top-left corner and its size, in pixels. A width or
// height of 0 (nothing stored) leaves the place to the window system. Qt holds
// no widget larger than PixelMax.
constexpr std::int32_t PixelMax = 16777215;
struct PlacementKeys {
    IntegerKey left;
    IntegerKey top;
    IntegerKey width;
    IntegerKey height;
};
constexpr PlacementKeys Placement(const char* section) {
    return {{section, "Left", 0, false, -PixelMax, PixelMax},
            {section, "Top", 0, false, -PixelMax, PixelMax},
            {section, "Width", 0, false, 1, PixelMax},
            {section, "Height", 0, false, 1, PixelMax}};
}

// The "Key Bindings" window: open or not, and where.
constexpr BooleanKey KeyLegendVisible{"Key Bindings", "Visible", false};
constexpr PlacementKeys KeyLegendPlacement = Placement("Key Bindings");

// The "Sorting" options, all off on a first run.
constexpr BooleanKey ArrowKeys{"Sorting", "ArrowKeys", false};
constexpr BooleanKey StartAtFirstCell{"Sorting", "StartAtFirstCell", false};
constexpr BooleanKey SkipSortedCells{"Sorting", "SkipSortedCells", false};
constexpr BooleanKey KeepBindings{"Sorting", "KeepBindings", false};
constexpr BooleanKey RememberWindow{"Sorting", "RememberWindow", false};
// The decision log's path; empty for no log.
constexpr TextKey DecisionLog{"Sorting", "DecisionLog", ""};
// Where the main window was at the last exit with RememberWindow on.
constexpr PlacementKeys MainWindowPlacement = Placement("Main Window");

// The keys of a window beside the grid that remembers whether it was open and
// where: "Visible", "Left", "Top", "Width" and "Height" of one section.
struct ToolWindowKeys {
    BooleanKey visible;
    PlacementKeys placement;
};
constexpr ToolWindowKeys KeyLegendWindow{KeyLegendVisible, KeyLegendPlacement};
// The "Loupe" window, as the "Key Bindings" one.
constexpr ToolWindowKeys LoupeWindow{{"Loupe", "Visible", false}, Placement("Loupe")};

std::int32_t Read(const ISettingsStore& store, const IntegerKey& key);
float Read(const ISettingsStore& store, const SingleKey& key);
bool Read(const ISettingsStore& store, const BooleanKey& key);
QString Read(const ISettingsStore& store, const TextKey& key);
double Read(const ISettingsStore& store, const DoubleKey& key);

// Decimal text ("1500"), shortest single text ("95.25"), "True" or "False".
void Write(ISettingsStore& store, const IntegerKey& key, std::int32_t value);
void Write(ISettingsStore& store, const SingleKey& key, float value);
void Write(ISettingsStore& store, const BooleanKey& key, bool value);
void Write(ISettingsStore& store, const TextKey& key, const QString& value);
void Write(ISettingsStore& store, const DoubleKey& key, double value);

}  // namespace SettingsKeys
