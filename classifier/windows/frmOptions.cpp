#include "windows/frmOptions.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "core/MainWindowValues.h"

namespace {

// One captioned field of a page: a right-aligned label and the text box or
// list beside it (exactly one of the two targets is set).
struct FieldRow {
    const char* caption;
    TwipsRect label;
    const char* name;
    QLineEdit** text;
    QComboBox** list;
    TwipsRect field;
};

// Label heights of the design, in twips.
constexpr int LabelHeight = 255;

QGroupBox* AddFrame(QWidget* page, const TwipsPlacement& layout, const char* name,
                    const char* title, const TwipsRect& rect) {
    auto* frame = new QGroupBox(QString::fromLatin1(title), page);
    frame->setObjectName(QLatin1String(name));
    layout.Place(frame, rect);
    return frame;
}

void AddFields(QGroupBox* frame, const TwipsPlacement& layout,
               std::initializer_list<FieldRow> rows) {
    for (const FieldRow& row : rows) {
        auto* label = new QLabel(QString::fromLatin1(row.caption), frame);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        layout.PlaceLabel(label, row.label);
        QWidget* field = nullptr;
        if (row.text) field = *row.text = new QLineEdit(frame);
        if (row.list) field = *row.list = new QComboBox(frame);
        field->setObjectName(QLatin1String(row.name));
        layout.Place(field, row.field);
    }
}

void FillList(QComboBox* list, const QStringList& items) {
    list->clear();
    list->addItems(items);
    list->setCurrentIndex(-1);
}

}  // namespace

frmOptions::frmOptions(IMainWindowValues& mainWindow, IMessageBox& messages, const ScreenDpi& dpi,
                       QSize desktop, QWidget* parent)
    : TabbedDialog(QStringLiteral("Options"), messages, dpi, parent),
      m_mainWindow(mainWindow),
      m_cellSizeLimits(CellSizeLimits::ForDesktop(dpi.x, dpi.y, desktop)) {
    createUi();
    connectUi();
}

void frmOptions::createUi() {
    createTabStrip({{"Size", "grpSize", "Spectrogram viewer size"},
                    {"Parameters", "grpParams", "Spectrogram parameters"}});
    createSizePage();
    createParametersPage();
    createButtons();
}

void frmOptions::createSizePage() {
    fraSample1 = AddFrame(Page(0), Layout(), "fraSample1", "Spectrogram Size (in Twips)",
                          {120, 240, 5415, 3225});
    AddFields(fraSample1, Layout(),
              {{"Width:",
                {600, 480, 615, LabelHeight},
                "txtCellWidth",
                &txtCellWidth,
                nullptr,
                {1320, 480, 975, 285}},
               {"Height:",
                {600, 960, 615, LabelHeight},
                "txtCellHeight",
                &txtCellHeight,
                nullptr,
                {1320, 960, 975, 285}}});
    txtCellWidth->setText(QStringLiteral("1500"));
    txtCellHeight->setText(QStringLiteral("1000"));
}

void frmOptions::createParametersPage() {
    fraSample2 =
        AddFrame(Page(1), Layout(), "fraSample2", "Spectrogram Parameters", {165, 300, 5175, 3225});
    AddFields(fraSample2, Layout(),
              {{"FFT Size:",
                {480, 600, 975, LabelHeight},
                "cboFFTSize",
                nullptr,
                &cboFFTSize,
                {1560, 600, 2175, 315}},
               {"Frame Length:",
                {360, 1080, 1095, LabelHeight},
                "cboFrameLength",
                nullptr,
                &cboFrameLength,
                {1560, 1080, 2175, 315}},
               {"Window Function:",
                {120, 1560, 1335, LabelHeight},
                "cboWindowFunction",
                nullptr,
                &cboWindowFunction,
                {1560, 1560, 2175, 315}},
               {"Hop Size:",
                {480, 2040, 975, LabelHeight},
                "txtHopSize",
                &txtHopSize,
                nullptr,
                {1560, 2040, 735, 285}},
               {"Power Min:",
                {3000, 2280, 975, LabelHeight},
                "txtPowerMin",
                &txtPowerMin,
                nullptr,
                {4080, 2280, 855, 285}},
               {"Power Max:",
                {2880, 2760, 1095, LabelHeight},
                "txtPowerMax",
                &txtPowerMax,
                nullptr,
                {4080, 2760, 855, 285}}});
}

void frmOptions::OnLoad() {
    FillList(cboFFTSize, OptionsValues::SizeItems());
    FillList(cboFrameLength, OptionsValues::SizeItems());
    FillList(cboWindowFunction, OptionsValues::WindowItems());
}

void frmOptions::Update() {
    LoadIfUnloaded();
    const SpectrogramParameterSet params = m_mainWindow.SPGParams();
    OptionsValues::CellSize size;
    m_mainWindow.GetCellSize(size.Width, size.Height);
    ShowFields(OptionsValues::FieldsFor(size, params));
}

void frmOptions::ShowFields(const OptionsValues::Fields& fields) {
    cboFFTSize->setCurrentIndex(fields.FFTSizePosition);
    cboFrameLength->setCurrentIndex(fields.FrameLengthPosition);
    txtHopSize->setText(fields.HopSize);
    cboWindowFunction->setCurrentIndex(fields.WindowFunctionPosition);
    txtPowerMax->setText(fields.PowerMax);
    txtPowerMin->setText(fields.PowerMin);
    txtCellWidth->setText(fields.CellWidth);
    txtCellHeight->setText(fields.CellHeight);
}

OptionsValues::Fields frmOptions::EditedFields() const {
    OptionsValues::Fields fields;
    fields.CellWidth = txtCellWidth->text();
    fields.CellHeight = txtCellHeight->text();
    fields.FFTSizePosition = cboFFTSize->currentIndex();
    fields.FrameLengthPosition = cboFrameLength->currentIndex();
    fields.WindowFunctionPosition = cboWindowFunction->currentIndex();
    fields.HopSize = txtHopSize->text();
    fields.PowerMax = txtPowerMax->text();
    fields.PowerMin = txtPowerMin->text();
    return fields;
}

void frmOptions::Apply() {
    const OptionsValues::Fields fields = EditedFields();
    const bool sized = Attempt([&] {
        const OptionsValues::CellSize size = OptionsValues::CellSizeOf(fields, m_cellSizeLimits);
        m_mainWindow.UpdateCellSizes(size.Width, size.Height, false);
    });
    if (!sized) return;
    Attempt([&] {
        m_mainWindow.SetSPGParams(OptionsValues::ParameterSetOf(fields, m_mainWindow.SPGParams()));
    });
}
