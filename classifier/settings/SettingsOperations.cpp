#include "settings/SettingsOperations.h"

#include <QDir>
#include <QFileInfo>

#include "core/MainWindowValues.h"
#include "settings/CellSizeLimits.h"
#include "settings/SettingsKeys.h"
#include "settings/SettingsStore.h"

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
    options.EverySample = SettingsKeys::Read(store, SettingsKeys::EverySample);
    options.AutoContrast = SettingsKeys::Read(store, SettingsKeys::AutoContrast);
    return options;
}

PlaybackOptions ReadPlaybackOptions(const ISettingsStore& store) {
    PlaybackOptions options;
    const std::int32_t divisor = SettingsKeys::Read(store, SettingsKeys::SpeedDivisor);
    for (const std::int16_t offered : PlaybackOptions::SpeedDivisors) {
        if (offered == divisor) options.SpeedDivisor = offered;
    }
    options.PlayOnSelect = SettingsKeys::Read(store, SettingsKeys::PlayOnSelect);
    return options;
}

}  // namespace

void LoadPlaybackSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetPlaybackOptions(ReadPlaybackOptions(store));
}

void SavePlaybackSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const PlaybackOptions options = mainWindow.GetPlaybackOptions();
    if (options == ReadPlaybackOptions(store)) return;
    SettingsKeys::Write(store, SettingsKeys::SpeedDivisor, options.SpeedDivisor);
    SettingsKeys::Write(store, SettingsKeys::PlayOnSelect, options.PlayOnSelect);
}

void LoadRecordingSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetRecordingOptions(ReadRecordingOptions(store));
}

void SaveRecordingSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const RecordingOptions options = mainWindow.GetRecordingOptions();
    if (options == ReadRecordingOptions(store)) return;
    SettingsKeys::Write(store, SettingsKeys::WholeRecording, options.WholeRecording);
    SettingsKeys::Write(store, SettingsKeys::AnyCaseWave, options.AnyCaseWave);
    SettingsKeys::Write(store, SettingsKeys::FloatSamples, options.FloatSamples);
    SettingsKeys::Write(store, SettingsKeys::EverySample, options.EverySample);
    SettingsKeys::Write(store, SettingsKeys::AutoContrast, options.AutoContrast);
}

void LoadDecisionLogSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetDecisionLogPath(SettingsKeys::Read(store, SettingsKeys::DecisionLog));
}

void SaveDecisionLogSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const QString path = mainWindow.DecisionLogPath();
    if (path == SettingsKeys::Read(store, SettingsKeys::DecisionLog)) return;
    SettingsKeys::Write(store, SettingsKeys::DecisionLog, path);
}

QString DefaultDecisionLogPath(const ISettingsStore& store) {
    return QFileInfo(store.FilePath()).absoluteDir().filePath(QStringLiteral("decisions.csv"));
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

namespace {

ToolWindowSettings LoadToolWindowSettings(const ISettingsStore& store,
                                          const SettingsKeys::ToolWindowKeys& keys) {
    return {SettingsKeys::Read(store, keys.visible), LoadPlacement(store, keys.placement)};
}

void SaveToolWindowSettings(ISettingsStore& store, const SettingsKeys::ToolWindowKeys& keys,
                            const ToolWindowSettings& window) {
    const ToolWindowSettings stored = LoadToolWindowSettings(store, keys);
    if (window.visible == stored.visible && window.placement == stored.placement) return;
    SettingsKeys::Write(store, keys.visible, window.visible);
    if (window.placement) SavePlacement(store, keys.placement, *window.placement);
}

}  // namespace

KeyLegendSettings LoadKeyLegendSettings(const ISettingsStore& store) {
    return LoadToolWindowSettings(store, SettingsKeys::KeyLegendWindow);
}

void SaveKeyLegendSettings(ISettingsStore& store, const KeyLegendSettings& legend) {
    SaveToolWindowSettings(store, SettingsKeys::KeyLegendWindow, legend);
}

ToolWindowSettings LoadLoupeSettings(const ISettingsStore& store) {
    return LoadToolWindowSettings(store, SettingsKeys::LoupeWindow);
}

void SaveLoupeSettings(ISettingsStore& store, const ToolWindowSettings& loupe) {
    SaveToolWindowSettings(store, SettingsKeys::LoupeWindow, loupe);
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

namespace {

SuggestionOptions ReadSuggestionOptions(const ISettingsStore& store) {
    SuggestionOptions options;
    options.Show = SettingsKeys::Read(store, SettingsKeys::ShowSuggestions);
    options.OrderBySuggestion = SettingsKeys::Read(store, SettingsKeys::OrderBySuggestion);
    options.EmptyThresholdDb = SettingsKeys::Read(store, SettingsKeys::EmptyThresholdDb);
    return options;
}

}  // namespace

void LoadSuggestionSettings(const ISettingsStore& store, IMainWindowValues& mainWindow) {
    mainWindow.SetSuggestionOptions(ReadSuggestionOptions(store));
}

void SaveSuggestionSettings(ISettingsStore& store, const IMainWindowValues& mainWindow) {
    const SuggestionOptions options = mainWindow.GetSuggestionOptions();
    if (options == ReadSuggestionOptions(store)) return;
    SettingsKeys::Write(store, SettingsKeys::ShowSuggestions, options.Show);
    SettingsKeys::Write(store, SettingsKeys::OrderBySuggestion, options.OrderBySuggestion);
    SettingsKeys::Write(store, SettingsKeys::EmptyThresholdDb, options.EmptyThresholdDb);
}

}  // namespace SettingsOperations
