#pragma once

#include <QRect>
#include <QString>
#include <optional>

#include "settings/SettingsKeys.h"

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

// The sections Corvane adds ("Recordings", "Sorting", "Playback", "Key Bindings", "Loupe", "Main
// Window", "Suggestions") are saved only when they would read back otherwise: a user who never
// changes them keeps a settings file of the usual three sections, and one who changes them back
// finds the defaults stored over the old values.

// The "Recordings" options, read after the parameter set and written after it.
void LoadRecordingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveRecordingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);
// The "Playback" options, read and written after the "Recordings" ones; saved
// only when they differ from what is stored (or, with nothing stored, from
// the defaults).
void LoadPlaybackSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SavePlaybackSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

// The decision log's file (section "Sorting"), empty while there is none.
void LoadDecisionLogSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveDecisionLogSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);
// Where the decision log goes when the user turns it on without choosing a
// file: "decisions.csv" beside the settings file.
QString DefaultDecisionLogPath(const ISettingsStore& store);

// A window's frame's top-left corner and size in pixels, as saved by
// SavePlacement under `keys`; nothing when no size was stored. Every window
// whose place a run keeps (the main window, the key legend, and any added
// later) goes through these two with keys of its own section.
std::optional<QRect> LoadPlacement(const ISettingsStore& store,
                                   const SettingsKeys::PlacementKeys& keys);
// Writes the four keys unless they already read back as `placement`.
void SavePlacement(ISettingsStore& store, const SettingsKeys::PlacementKeys& keys,
                   const QRect& placement);

// The "Sorting" options, read after the "Recordings" ones and written after them.
void LoadSortingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveSortingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

// The folders' suggestions (section "Suggestions"), read after the "Sorting"
// options and written after them, only when they would read back otherwise.
void LoadSuggestionSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveSuggestionSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

// A window beside the grid as the last run left it: open or not, and its
// frame's top-left corner and size in pixels, when a size was stored.
struct ToolWindowSettings {
    bool visible = false;
    std::optional<QRect> placement;
};
using KeyLegendSettings = ToolWindowSettings;

// The "Key Bindings" window.
KeyLegendSettings LoadKeyLegendSettings(const ISettingsStore& store);
// Writes the visibility, and the placement when there is one.
void SaveKeyLegendSettings(ISettingsStore& store, const KeyLegendSettings& legend);

// The "Loupe" window, as the "Key Bindings" one.
ToolWindowSettings LoadLoupeSettings(const ISettingsStore& store);
void SaveLoupeSettings(ISettingsStore& store, const ToolWindowSettings& loupe);

}  // namespace SettingsOperations
