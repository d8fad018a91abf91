#include "settings/SettingsOperations.h"

#include "core/MainWindowValues.h"
#include "settings/CellSizeLimits.h"
#include "settings/SettingsKeys.h"

namespace SettingsOperations {

void LoadViewSettings(const ISettingsStore& store, IMainWindowValues& mainWindow,
                      const CellSizeLimits& limits) {
    std::int32_t width = SettingsKeys::Read(store, SettingsKeys::CellWidth);
    std::int32_t height = SettingsKeys::Read(store, SettingsKeys::CellHeight);
    if (!limits.Problem(width, height).isEmpty()) {
        width = SettingsKeys::CellWidth.defaultValue;
        height = SettingsKeys::CellHeight.defaultValue;
    }
    mainWindow.UpdateCellSizes(width, height, true);
    mainWindow.SetPlayChecked(SettingsKeys::Read(store, SettingsKeys::Play));
}

void LoadSPGSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    SpectrogramParameterSet params;
    params.FFTSizeChoice = SettingsKeys::Read(store, SettingsKeys::FFTSizeChoice);
    params.FrameLengthChoice = SettingsKeys::Read(store, SettingsKeys::FrameLengthChoice);
    params.HopSize = SettingsKeys::Read(store, SettingsKeys::HopSize);
    params.WindowFunctionChoice = SettingsKeys::Read(store, SettingsKeys::WindowFunctionChoice);
    params.PowerMax = SettingsKeys::Read(store, SettingsKeys::PowerMax);
    params.PowerMin = SettingsKeys::Read(store, SettingsKeys::PowerMin);
    mainWindow.SetSPGParams(params);
}

void SaveViewSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    std::int32_t width = 0;
    std::int32_t height = 0;
    mainWindow.GetCellSize(width, height);
    SettingsKeys::Write(store, SettingsKeys::CellWidth, width);
    SettingsKeys::Write(store, SettingsKeys::CellHeight, height);
    SettingsKeys::Write(store, SettingsKeys::Play, mainWindow.IsPlayChecked());
}

void SaveSPGSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const SpectrogramParameterSet params = mainWindow.SPGParams();
    SettingsKeys::Write(store, SettingsKeys::FFTSizeChoice, params.FFTSizeChoice);
    SettingsKeys::Write(store, SettingsKeys::FrameLengthChoice, params.FrameLengthChoice);
    SettingsKeys::Write(store, SettingsKeys::HopSize, params.HopSize);
    SettingsKeys::Write(store, SettingsKeys::WindowFunctionChoice, params.WindowFunctionChoice);
    SettingsKeys::Write(store, SettingsKeys::PowerMax, params.PowerMax);
    SettingsKeys::Write(store, SettingsKeys::PowerMin, params.PowerMin);
}

namespace {

RecordingOptions ReadRecordingOptions(const ISettingsStore& store) {
    RecordingOptions options;
    options.WholeRecording = SettingsKeys::Read(store, SettingsKeys::WholeRecording);
    options.AnyCaseWave = SettingsKeys::Read(store, SettingsKeys::AnyCaseWave);
    options.FloatSamples = SettingsKeys::Read(store, SettingsKeys::FloatSamples);
    return options;
}

}  // namespace

void LoadRecordingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetRecordingOptions(ReadRecordingOptions(store));
}

void SaveRecordingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const RecordingOptions options = mainWindow.GetRecordingOptions();
    if (options == ReadRecordingOptions(store)) return;
    SettingsKeys::Write(store, SettingsKeys::WholeRecording, options.WholeRecording);
    SettingsKeys::Write(store, SettingsKeys::AnyCaseWave, options.AnyCaseWave);
    SettingsKeys::Write(store, SettingsKeys::FloatSamples, options.FloatSamples);
}

std::optional<QRect> LoadPlacement(const ISettingsStore& store,
                                   const SettingsKeys::PlacementKeys& keys) {
    const std::int32_t width = SettingsKeys::Read(store, keys.width);
    const std::int32_t height = SettingsKeys::Read(store, keys.height);
    if (width <= 0 || height <= 0) return std::nullopt;
    return QRect(SettingsKeys::Read(store, keys.left), SettingsKeys::Read(store, keys.top), width,
                 height);
}

void SavePlacement(ISettingsStore& store, const SettingsKeys::PlacementKeys& keys,
                   const QRect& placement) {
    if (LoadPlacement(store, keys) == placement) return;
    SettingsKeys::Write(store, keys.left, placement.left());
    SettingsKeys::Write(store, keys.top, placement.top());
    SettingsKeys::Write(store, keys.width, placement.width());
    SettingsKeys::Write(store, keys.height, placement.height());
}

KeyLegendSettings LoadKeyLegendSettings(const ISettingsStore& store) {
    return {SettingsKeys::Read(store, SettingsKeys::KeyLegendVisible),
            LoadPlacement(store, SettingsKeys::KeyLegendPlacement)};
}

void SaveKeyLegendSettings(ISettingsStore& store, const KeyLegendSettings& legend) {
    const KeyLegendSettings stored = LoadKeyLegendSettings(store);
    if (legend.visible == stored.visible && legend.placement == stored.placement) return;
    SettingsKeys::Write(store, SettingsKeys::KeyLegendVisible, legend.visible);
    if (legend.placement) SavePlacement(store, SettingsKeys::KeyLegendPlacement, *legend.placement);
}

namespace {

SortingOptions ReadSortingOptions(const ISettingsStore& store) {
    SortingOptions options;
    options.ArrowKeys = SettingsKeys::Read(store, SettingsKeys::ArrowKeys);
    options.StartAtFirstCell = SettingsKeys::Read(store, SettingsKeys::StartAtFirstCell);
    options.SkipSortedCells = SettingsKeys::Read(store, SettingsKeys::SkipSortedCells);
    options.KeepBindings = SettingsKeys::Read(store, SettingsKeys::KeepBindings);
    options.RememberWindow = SettingsKeys::Read(store, SettingsKeys::RememberWindow);
    return options;
}

}  // namespace

void LoadSortingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetSortingOptions(ReadSortingOptions(store));
}

void SaveSortingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const SortingOptions options = mainWindow.GetSortingOptions();
    if (options == ReadSortingOptions(store)) return;
    SettingsKeys::Write(store, SettingsKeys::ArrowKeys, options.ArrowKeys);
    SettingsKeys::Write(store, SettingsKeys::StartAtFirstCell, options.StartAtFirstCell);
    SettingsKeys::Write(store, SettingsKeys::SkipSortedCells, options.SkipSortedCells);
    SettingsKeys::Write(store, SettingsKeys::KeepBindings, options.KeepBindings);
    SettingsKeys::Write(store, SettingsKeys::RememberWindow, options.RememberWindow);
}

}  // namespace SettingsOperations
