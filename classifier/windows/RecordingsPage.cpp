#include "windows/RecordingsPage.h"

#include <QCheckBox>
#include <QGroupBox>
#include <algorithm>

#include "core/MainWindowValues.h"
#include "windows/TwipsPlacement.h"

RecordingsPage::RecordingsPage(QWidget* panel, const TwipsPlacement& layout) {
    auto* frame = new QGroupBox(QStringLiteral("Wave Files"), panel);
    frame->setObjectName(QStringLiteral("fraRecordings"));
    layout.Place(frame, 120, 240, 5415, 3435);
    const struct {
        QCheckBox** target;
        const char* name;
        const char* caption;
        int top;
    } boxes[] = {{&chkWholeRecording, "chkWholeRecording", "Show the whole recording", 480},
                 {&chkAnyCaseWave, "chkAnyCaseWave", "Take .WAV and .Wav names too", 960},
                 {&chkFloatSamples, "chkFloatSamples", "Read floating-point wave files", 1440},
                 {&chkEverySample, "chkEverySample", "&Every sample in the picture", 1920},
                 {&chkAutoContrast, "chkAutoContrast", "&Contrast per recording", 2400},
                 {&chkFieldView, "chkFieldView", "&Field View", 2880}};
    for (const auto& box : boxes) {
        *box.target = new QCheckBox(QString::fromLatin1(box.caption), frame);
        (*box.target)->setObjectName(QLatin1String(box.name));
        layout.Place(*box.target, 360, box.top, 4695, 285);
    }
    chkFieldView->setToolTip(
        QStringLiteral("The whole recording, every sample, contrast per recording"));
    connectFieldView();
}

void RecordingsPage::connectFieldView() {
    // Field View stands for the three picture boxes: the user's click sets
    // them all, and any of them changing shows whether all three are on.
    QObject::connect(chkFieldView, &QCheckBox::clicked, chkFieldView, [this](bool checked) {
        for (QCheckBox* box : PictureBoxes()) box->setChecked(checked);
    });
    for (QCheckBox* box : PictureBoxes()) {
        QObject::connect(box, &QCheckBox::toggled, chkFieldView, [this] { ShowFieldView(); });
    }
}

std::array<QCheckBox*, 3> RecordingsPage::PictureBoxes() const {
    return {chkWholeRecording, chkEverySample, chkAutoContrast};
}

void RecordingsPage::ShowFieldView() {
    const std::array<QCheckBox*, 3> boxes = PictureBoxes();
    chkFieldView->setChecked(
        std::all_of(boxes.begin(), boxes.end(), [](QCheckBox* box) { return box->isChecked(); }));
}

void RecordingsPage::ShowValues(const IMainWindowValues& mainWindow) {
    const RecordingOptions options = mainWindow.GetRecordingOptions();
    chkWholeRecording->setChecked(options.WholeRecording);
    chkAnyCaseWave->setChecked(options.AnyCaseWave);
    chkFloatSamples->setChecked(options.FloatSamples);
    chkEverySample->setChecked(options.EverySample);
    chkAutoContrast->setChecked(options.AutoContrast);
    ShowFieldView();
}

void RecordingsPage::ApplyValues(IMainWindowValues& mainWindow) const {
    RecordingOptions options;
    options.WholeRecording = chkWholeRecording->isChecked();
    options.AnyCaseWave = chkAnyCaseWave->isChecked();
    options.FloatSamples = chkFloatSamples->isChecked();
    options.EverySample = chkEverySample->isChecked();
    options.AutoContrast = chkAutoContrast->isChecked();
    mainWindow.SetRecordingOptions(options);
}
