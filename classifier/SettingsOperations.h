#pragma once

class IMainWindowValues;
class ISettingsStore;

// Reading the settings into the main window while it loads and writing them
// back while it unloads. They only read and save keys; the caller commits the
// store once after both saves.
namespace SettingsOperations {

// Cell size (laid out at once, forced) and the Play check mark.
void LoadViewSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
// The spectrogram parameter set, passed to every cell in one call. Rethrows
// what UpdateSPGParams throws.
void LoadSPGSettings(const ISettingsStore& store, IMainWindowValues& mainWindow);
void SaveViewSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);
void SaveSPGSettings(ISettingsStore& store, const IMainWindowValues& mainWindow);

}  // namespace SettingsOperations
