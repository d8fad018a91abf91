#pragma once

#include <QRect>
#include <optional>

class CellSizeLimits;
class IMainWindowValues;
class ISettingsStore;

// Reading the settings into the main window while it loads and writing them
// back while it unloads. They only read and save keys; the caller commits the
// store once after both saves.
namespace SettingsOperations {

// Cell size (laid out at once, forced) and the Play check mark.
// A stored cell size that `limits` refuses (one the grid cannot lay out, or
// one asking for more cells than the grid holds) gives way to the first-run size.
void LoadViewSettings(const ISettingsStore& store, IMainWindowValues& mainWindow,
                      const CellSizeLimits& limits);
// The spectrogram parameter set, passed to every cell in one call. Rethrows
// what UpdateSPGParams throws.
void LoadSPGSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveViewSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);
void SaveSPGSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

// The sections Corvane adds ("Recordings", "Playback", "Key Bindings") are saved only when
// they would read back otherwise: a user who never changes them keeps a
// settings file of the usual three sections, and one who changes them back
// finds the defaults stored over the old values.

// The "Recordings" options, read after the parameter set and written after it.
void LoadRecordingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveRecordingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);
// The "Playback" options, read and written after the "Recordings" ones; saved
// only when they differ from what is stored (or, with nothing stored, from
// the defaults).
void LoadPlaybackSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SavePlaybackSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

// The "Key Bindings" window as the last run left it: open or not, and its
// frame's top-left corner and size in pixels, when a size was stored.
struct KeyLegendSettings {
    bool visible = false;
    std::optional<QRect> placement;
};
KeyLegendSettings LoadKeyLegendSettings(const ISettingsStore& store);
// Writes the visibility, and the placement when there is one.
void SaveKeyLegendSettings(ISettingsStore& store, const KeyLegendSettings& legend);

}  // namespace SettingsOperations
