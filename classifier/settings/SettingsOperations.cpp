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
}

KeyLegendSettings LoadKeyLegendSettings(const ISettingsStore& store) {
    KeyLegendSettings legend;
    legend.visible = SettingsKeys::Read(store, SettingsKeys::KeyLegendVisible);
    const std::int32_t width = SettingsKeys::Read(store, SettingsKeys::KeyLegendWidth);
    const std::int32_t height = SettingsKeys::Read(store, SettingsKeys::KeyLegendHeight);
    if (width > 0 && height > 0) {
        legend.placement =
            QRect(SettingsKeys::Read(store, SettingsKeys::KeyLegendLeft),
                  SettingsKeys::Read(store, SettingsKeys::KeyLegendTop), width, height);
    }
    return legend;
}

void SaveKeyLegendSettings(ISettingsStore& store, const KeyLegendSettings& legend) {
    const KeyLegendSettings stored = LoadKeyLegendSettings(store);
    if (legend.visible == stored.visible && legend.placement == stored.placement) return;
    SettingsKeys::Write(store, SettingsKeys::KeyLegendVisible, legend.visible);
    if (!legend.placement) return;
    SettingsKeys::Write(store, SettingsKeys::KeyLegendLeft, legend.placement->left());
    SettingsKeys::Write(store, SettingsKeys::KeyLegendTop, legend.placement->top());
    SettingsKeys::Write(store, SettingsKeys::KeyLegendWidth, legend.placement->width());
    SettingsKeys::Write(store, SettingsKeys::KeyLegendHeight, legend.placement->height());
}

}  // namespace SettingsOperations
