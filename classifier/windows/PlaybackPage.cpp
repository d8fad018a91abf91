#include "windows/PlaybackPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

#include "core/MainWindowValues.h"
#include "windows/PlaybackSpeed.h"
#include "windows/TwipsPlacement.h"

PlaybackPage::PlaybackPage(QWidget* panel, const TwipsPlacement& layout) {
    auto* frame = new QGroupBox(QStringLiteral("Playing"), panel);
    frame->setObjectName(QStringLiteral("fraPlayback"));
    layout.Place(frame, 120, 240, 5415, 3225);
    auto* label = new QLabel(QStringLiteral("Playback Speed"), frame);
    label->setObjectName(QStringLiteral("lblSpeed"));
    layout.Place(label, 360, 480, 1800, 285);
    cboSpeed = new QComboBox(frame);
    cboSpeed->setObjectName(QStringLiteral("cboSpeed"));
    for (const std::int16_t divisor : PlaybackOptions::SpeedDivisors)
        cboSpeed->addItem(PlaybackSpeed::Caption(divisor), divisor);
    label->setBuddy(cboSpeed);
    layout.Place(cboSpeed, 2280, 450, 1200, 315);
    chkPlayOnSelect = new QCheckBox(QStringLiteral("Play on Select"), frame);
    chkPlayOnSelect->setObjectName(QStringLiteral("chkPlayOnSelect"));
    layout.Place(chkPlayOnSelect, 360, 960, 4695, 285);
}

void PlaybackPage::ShowValues(const IMainWindowValues& mainWindow) {
    const PlaybackOptions options = mainWindow.GetPlaybackOptions();
    cboSpeed->setCurrentIndex(std::max(0, cboSpeed->findData(options.SpeedDivisor)));
    chkPlayOnSelect->setChecked(options.PlayOnSelect);
}

void PlaybackPage::ApplyValues(IMainWindowValues& mainWindow) const {
    PlaybackOptions options;
    options.SpeedDivisor = static_cast<std::int16_t>(cboSpeed->currentData().toInt());
    options.PlayOnSelect = chkPlayOnSelect->isChecked();
    mainWindow.SetPlaybackOptions(options);
}
