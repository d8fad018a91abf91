#include "windows/RecordingsPage.h"

#include <QCheckBox>
#include <QGroupBox>

#include "core/MainWindowValues.h"
#include "windows/TwipsPlacement.h"

RecordingsPage::RecordingsPage(QWidget* panel, const TwipsPlacement& layout) {
    auto* frame = new QGroupBox(QStringLiteral("Wave Files"), panel);
    frame->setObjectName(QStringLiteral("fraRecordings"));
    layout.Place(frame, 120, 240, 5415, 3225);
    const struct {
        QCheckBox** target;
        const char* name;
        const char* caption;
        int top;
    } boxes[] = {{&chkWholeRecording, "chkWholeRecording", "Show the whole recording", 480},
                 {&chkAnyCaseWave, "chkAnyCaseWave", "Take .WAV and .Wav names too", 960},
                 {&chkFloatSamples, "chkFloatSamples", "Read floating-point wave files", 1440}};
    for (const auto& box : boxes) {
        *box.target = new QCheckBox(QString::fromLatin1(box.caption), frame);
        (*box.target)->setObjectName(QLatin1String(box.name));
        layout.Place(*box.target, 360, box.top, 4695, 285);
    }
}

void RecordingsPage::ShowValues(const IMainWindowValues& mainWindow) {
    const RecordingOptions options = mainWindow.GetRecordingOptions();
    chkWholeRecording->setChecked(options.WholeRecording);
    chkAnyCaseWave->setChecked(options.AnyCaseWave);
    chkFloatSamples->setChecked(options.FloatSamples);
}

void RecordingsPage::ApplyValues(IMainWindowValues& mainWindow) const {
    RecordingOptions options;
    options.WholeRecording = chkWholeRecording->isChecked();
    options.AnyCaseWave = chkAnyCaseWave->isChecked();
    options.FloatSamples = chkFloatSamples->isChecked();
    mainWindow.SetRecordingOptions(options);
}
